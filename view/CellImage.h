#pragma once
// TCellImage: the picture control of a camera cell. It holds the bitmap a
// frame is decoded into and paints it stretched over its whole rectangle
// (the aspect ratio is not kept). It lets mouse events through to its cell
// panel, and while its bitmap is empty it paints nothing, so the panel's
// caption shows through.

#include <QImage>
#include <QWidget>

#include "decode/FrameTarget.h"

class TCellImage : public QWidget, public FrameTarget {
  Q_OBJECT

 public:
  explicit TCellImage(QWidget* parent = nullptr);

  QImage& Bitmap() override { return bitmap_; }
  // Schedules a repaint of the control.
  void Repaint() override { update(); }
  // Empties the bitmap (0 x 0) and repaints.
  void Clear();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage bitmap_;
};
