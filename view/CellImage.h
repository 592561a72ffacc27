#pragma once
// TCellImage: the picture control of a camera cell. It holds the bitmap a
// frame is decoded into and paints it stretched over its whole rectangle
// (the aspect ratio is not kept). It lets mouse events through to its cell
// panel, and while its bitmap is empty it paints nothing, so the panel's
// caption shows through.
//
// The bitmap keeps the frame at full size (saving writes it); what is painted
// is a copy brought to the control's size, made when a paint finds a bitmap
// or size it has not shown yet, so a frame that is never painted is never
// scaled, and repaints of the same frame (a covered corner shown again) only
// copy it.

#include <QImage>
#include <QWidget>

#include "decode/FrameTarget.h"
#include "view/PictureScaler.h"

class TCellImage : public QWidget, public FrameTarget {
  Q_OBJECT

 public:
  explicit TCellImage(QWidget* parent = nullptr);

  QImage& Bitmap() override { return bitmap_; }
  // Schedules a repaint of the control; the window paints at its screen's
  // pace, with the latest bitmap.
  void Repaint() override;
  // A frame shown at half its size or less is shrunk as its rows arrive.
  void RowDecoded(int y, const std::uint8_t* pixels) override;
  // The bitmap is read back only to save it or when the cell's size
  // changes: the decoder need not fetch it into the cache to write it.
  bool StreamBitmap() const override { return true; }
  // Empties the bitmap (0 x 0) and repaints.
  void Clear();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  bool HasPicture() const;
  // The control's size in device pixels.
  QSize PixelSize() const;
  // While it has a picture the control covers its rectangle, so the panel
  // behind it is not painted first.
  void UpdateOpaque();

  QImage bitmap_;
  PictureScaler scaler_;
  // The size a frame being decoded is meant for, empty while the control is
  // hidden (a frame nobody sees is not scaled).
  QSize rowsFor_;
  // The scaler's last picture, and the bitmap (by QImage::cacheKey, which
  // every write access changes) and size it was made from.
  const QImage* scaled_ = nullptr;
  qint64 scaledKey_ = 0;
  QSize scaledSize_;
};
