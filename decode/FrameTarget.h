#pragma once
// FrameTarget: what a frame is decoded into: a 32-bit bitmap with row access
// (QImage, Format_RGB32: bytes blue, green, red, 0) and a repaint request.
// The decoder needs no widgets; a cell's picture control implements this.

#include <QImage>

#include <cstdint>

class FrameTarget {
 public:
  virtual ~FrameTarget() = default;
  virtual QImage& Bitmap() = 0;
  // Asked after a frame was decoded in full.
  virtual void Repaint() = 0;
  // Told after bitmap row y was written, top to bottom, with the row's
  // pixels as four bytes each (blue, green, red, then a byte that means
  // nothing) where they are still in the processor's cache: a target that
  // shows the picture smaller can shrink it here instead of reading the
  // whole bitmap back from memory afterwards. pixels may be the decoder's
  // own buffer, valid only during the call. The target must not write the
  // bitmap or call into the decoder. A frame that fails is not repainted.
  virtual void RowDecoded(int y, const std::uint8_t* pixels) {
    (void)y;
    (void)pixels;
  }
  // True when the bitmap is one of many, written far more often than read
  // back (a camera cell's, shrunk from the rows above): the decoder then
  // writes colour rows past the processor's cache instead of first fetching
  // each line of the bitmap from memory. The bytes are the same.
  virtual bool StreamBitmap() const { return false; }
  // Asked once the frame's header is read, with its full size: the frame is
  // decoded at 1/the answer (1, 2, 4 or 8; anything else is taken as 1), so
  // the bitmap gets ScaledSide of each side (decode/DecodeScale.h).
  virtual int DecodeScale(int width, int height) {
    (void)width;
    (void)height;
    return 1;
  }
};

// A target that only holds its bitmap, decoded at 1/scale of the frame's
// size: for tools, tests, benchmarks and a frame decoded again.
class ImageTarget final : public FrameTarget {
 public:
  explicit ImageTarget(int scale = 1) : scale_(scale) {}
  QImage& Bitmap() override { return image_; }
  void Repaint() override { ++repaints_; }
  int Repaints() const { return repaints_; }
  int DecodeScale(int, int) override { return scale_; }

 private:
  QImage image_;
  int repaints_ = 0;
  int scale_;
};
