#pragma once
// TCellImage: the picture control of a camera cell. It holds the bitmap a
// frame is decoded into and paints it stretched over its whole rectangle
// (the aspect ratio is not kept). It lets mouse events through to its cell
// panel, and while its bitmap is empty it paints nothing, so the panel's
// caption shows through.
//
// A frame shown smaller than it is may come as a picture decoded smaller
// (TakePicture, view/CellPicture.h); the cell then keeps the frame's bytes
// and decodes them again, as large as needed, when more is needed: the full
// size for Bitmap (saving, and whoever writes the bitmap), zooming and
// printing, the larger scale a grown cell covers. What is painted is the
// picture brought to the control's size, made when a paint finds a picture
// or size it has not shown yet (or handed over made), so a frame that is
// never painted is never scaled, and repaints of the same frame (a covered
// corner shown again) only copy it.
//
// Over the picture, never into the bitmap, it draws the caption of the frame
// it was told of (TakeFrame), the red corner of a frame that did not decode
// and the zoom factor. Zoomed in, it shows a part of the picture enlarged;
// the bitmap stays the whole frame.

#include <QImage>
#include <QPointF>
#include <QWidget>

#include <cstdint>
#include <span>
#include <vector>

#include "common/FrameStream.h"
#include "decode/FrameTarget.h"
#include "view/PictureScaler.h"
#include "view/PictureZoom.h"

struct CellPicture;

class TCellImage : public QWidget, public FrameTarget {
  Q_OBJECT

 public:
  // A frame's own pixels may be shown up to this many screen pixels wide.
  static constexpr double kMostMagnification = 8.0;

  explicit TCellImage(QWidget* parent = nullptr);

  // The picture at the frame's full size, decoded again from the frame's
  // bytes first when it was made smaller. A frame decoded straight into it
  // (FrameDecoder) and any change made to it are kept as they are: the cell
  // no longer decodes its frame again.
  QImage& Bitmap() override;
  // The picture as it is, possibly decoded smaller than the frame.
  const QImage& Picture() const { return bitmap_; }
  // 1/PictureScale() of the frame's size: 1, 2, 4 or 8.
  int PictureScale() const { return scale_; }

  // What a picture made for this cell now must be: the size it is shown at
  // (device pixels; empty: none) and the largest decode scale allowed (1
  // while zoomed or painted plain, which need the full size).
  struct PictureRequest {
    QSize shown;
    int largestScale = 1;
  };
  PictureRequest Request() const;
  // Takes picture, made for the frame in bytes, and gives its old buffers
  // back in it. A frame that did not decode leaves the picture there was;
  // one that failed after it had reached the bitmap is decoded in full here
  // over the full picture, as it always was. True when it decoded.
  bool TakePicture(CellPicture& picture, FrameStream& bytes);
  // Schedules a repaint of the control; the window paints at its screen's
  // pace, with the latest bitmap.
  void Repaint() override;
  // A frame shown at half its size or less is shrunk as its rows arrive.
  void RowDecoded(int y, const std::uint8_t* pixels) override;
  // The bitmap is read back only to save it or when the cell's size
  // changes: the decoder need not fetch it into the cache to write it.
  bool StreamBitmap() const override { return true; }
  // Empties the bitmap (0 x 0), forgets the frame and the zoom, and repaints.
  void Clear();

  // The camera (1..32) the caption names; 0: no caption.
  void SetCamera(int camera) { camera_ = camera; }
  // What the cell is told of each frame it shows, once it was decoded (or
  // failed to): the bytes as the archive stores them, kept to be saved as
  // they are; the time and the record kinds for the caption; and whether it
  // decoded. A frame that did not leaves the picture there was, marked
  // damaged, until one that does.
  void TakeFrame(std::span<const std::uint8_t> bytes, double time, std::uint32_t kinds,
                 bool decoded);
  // The bytes of the last frame told of; empty when none.
  std::span<const std::uint8_t> StoredFrame() const {
    return {frameBytes_.Data(), frameBytes_.Size()};
  }
  bool Damaged() const { return damaged_; }
  // Whether the caption is drawn, and with the date.
  void SetCaption(bool shown, bool withDate);
  // The caption over the picture; empty when none is drawn. A cell too
  // narrow for the date draws the time alone.
  QString CaptionText() const;

  const PictureZoom& Zoom() const { return zoom_; }
  // Zooms by the factor by around the point at (in the control's
  // coordinates), from the whole picture up to MostZoom. A control without a
  // picture does not zoom.
  void ZoomAt(QPointF at, double by);
  // Moves a zoomed picture with the pointer by delta.
  void PanBy(QPointF delta);
  void ResetZoom();
  // The factor at which one of the frame's pixels covers kMostMagnification
  // screen pixels on each axis; at least 1.
  double MostZoom() const;

  // Bytes the cell holds for its picture: the bitmap, the picture at the
  // control's size, the scaler's buffers and the frame's bytes.
  std::size_t HeldBytes() const;

  // True: the whole picture is painted with nothing over it, as printing
  // captures the grid.
  void SetPlain(bool plain) { plain_ = plain; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  bool HasPicture() const;
  // The control's size in device pixels.
  QSize PixelSize() const;
  // While it has a picture the control covers its rectangle, so the panel
  // behind it is not painted first.
  void UpdateOpaque();
  // The whole picture's size on screen at the present zoom.
  QSize ZoomedSize(QSize pixels) const;
  // The size the scaler brings the whole picture to for a control of
  // pixels; empty when the picture is enlarged instead (drawn from the
  // bitmap itself).
  QSize ScaleTarget(QSize pixels) const;
  // The scaler's picture of the bitmap at size, made when not made yet.
  const QImage& ScaledTo(QSize size);
  // The frame's full size: the bitmap's unless it was decoded smaller.
  QSize FrameSize() const;
  // The scale a paint at pixels needs at most.
  int NeededScale(QSize pixels) const;
  // Decodes the picture's frame again at 1/scale when it is smaller now.
  void EnsureScale(int scale);
  // The bytes the picture decodes from; null when it is all there is.
  FrameStream* PictureSource();
  void PaintPicture(QPainter& painter, QSize pixels);

  QImage bitmap_;
  PictureScaler scaler_;
  // The size a frame being decoded is meant for, empty while the control is
  // hidden (a frame nobody sees is not scaled).
  QSize rowsFor_;
  // 1/scale_ of the frame's size frame_ (empty: the bitmap's own).
  int scale_ = 1;
  QSize frame_;
  // The picture at the control's size, and the bitmap (by QImage::cacheKey,
  // which every write access changes) and size it was made from.
  QImage scaled_;
  qint64 scaledKey_ = 0;
  QSize scaledSize_;

  int camera_ = 0;
  FrameStream frameBytes_;
  // Where the picture's bytes are: the stored frame's; kept_, when a frame
  // that did not decode came since; or nowhere, when the bitmap is all
  // there is (decoded or written straight into).
  enum class Source { None, Stored, Kept };
  Source source_ = Source::None;
  FrameStream kept_;
  double frameTime_ = 0.0;
  std::uint32_t frameKinds_ = 0;
  bool hasFrame_ = false;
  bool damaged_ = false;
  bool captionShown_ = true;
  bool captionDates_ = false;
  PictureZoom zoom_;
  bool plain_ = false;
};
