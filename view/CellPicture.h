#pragma once
// CellPicture: one frame made into the picture a camera cell shows, apart
// from the cell, so it can be made on any thread and handed over whole:
// the frame decoded as small as the cell allows (decode/DecodeScale.h) and,
// from that, the picture at the cell's size.
//
// CellPictureMaker makes them, one maker per thread: its decoder and scaler
// are used by one thread at a time. The cell then takes the picture's
// buffers and gives its old ones back, so steady sizes allocate nothing.

#include <QImage>
#include <QSize>

#include <string>

#include "decode/FrameTarget.h"
#include "view/PictureScaler.h"

class FrameDecoder;
class FrameStream;

struct CellPicture {
  QImage bitmap;     // the frame at 1/scale of its size
  QImage shown;      // bitmap at shownSize; null when shownSize is empty or bitmap's own
  QSize shownSize;   // the size the picture was made for; empty: none
  int scale = 1;
  QSize frame;       // the frame's full size; empty when its header was not read
  bool decoded = false;     // FrameDecoder's 1
  bool wroteBitmap = false;  // FrameDecoder::WroteBitmap: a failed frame got that far
  // libjpeg's word on the frame (FrameDecoder::Message), kept to be written
  // out when the frame is shown, not when it is made (perhaps never shown).
  std::string message;
};

class CellPictureMaker final : public FrameTarget {
 public:
  // REQUIRES: decoder outlives the maker and is used by one thread at a
  // time. The maker keeps the decoder's messages in the pictures.
  explicit CellPictureMaker(FrameDecoder& decoder);
  CellPictureMaker(const CellPictureMaker&) = delete;
  CellPictureMaker& operator=(const CellPictureMaker&) = delete;

  // Decodes stream (one frame from position 0) into into for a cell that
  // shows it at shown device pixels (empty: not shown now), at the largest
  // scale up to 1/largestScale whose picture covers shown, and brings it to
  // shown. into's buffers are reused. A frame that fails leaves into.bitmap
  // in no defined state.
  void Make(FrameStream& stream, QSize shown, int largestScale, CellPicture& into);

  QImage& Bitmap() override { return into_->bitmap; }
  void Repaint() override {}
  void RowDecoded(int y, const std::uint8_t* pixels) override;
  bool StreamBitmap() const override { return true; }
  int DecodeScale(int width, int height) override;

  // Bytes the maker's scaler holds (the decoder's are libjpeg's own).
  std::size_t HeldBytes() const { return scaler_.HeldBytes(); }

 private:
  FrameDecoder& decoder_;
  PictureScaler scaler_;
  CellPicture* into_ = nullptr;
  QSize shown_;
  int largestScale_ = 1;
};
