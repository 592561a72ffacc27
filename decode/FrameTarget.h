#pragma once
// FrameTarget: what a frame is decoded into: a 32-bit bitmap with row access
// (QImage, Format_RGB32: bytes blue, green, red, 0) and a repaint request.
// The decoder needs no widgets; a cell's picture control implements this.

#include <QImage>

class FrameTarget {
 public:
  virtual ~FrameTarget() = default;
  virtual QImage& Bitmap() = 0;
  // Asked after a frame was decoded in full.
  virtual void Repaint() = 0;
};

// A target that only holds its bitmap: for tools, tests and benchmarks.
class ImageTarget final : public FrameTarget {
 public:
  QImage& Bitmap() override { return image_; }
  void Repaint() override { ++repaints_; }
  int Repaints() const { return repaints_; }

 private:
  QImage image_;
  int repaints_ = 0;
};
