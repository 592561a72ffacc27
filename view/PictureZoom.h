#pragma once
// PictureZoom: which part of a picture a cell shows when the operator zooms
// into it. The part is kept in the picture's own proportions (0..1 on each
// axis), so it stays put when the cell changes size or the camera's next
// frame has another size. At 1x the whole picture shows, stretched over the
// cell as always.

#include <QPointF>
#include <QRectF>
#include <QSizeF>

class PictureZoom {
 public:
  // How much larger than the whole picture in the cell the part is shown.
  double Factor() const { return factor_; }
  bool Zoomed() const { return factor_ > 1.0; }
  // Where the shown part starts, in the picture's proportions: from 0 to
  // 1 - 1 / Factor() on each axis.
  QPointF Origin() const { return origin_; }

  // Multiplies the factor by by, keeping the picture's point under at (in a
  // cell of size cell) where it is. The factor stays within [1, most]; at 1
  // the whole picture shows again.
  void ZoomAt(QPointF at, QSizeF cell, double by, double most);
  // Moves the picture with the pointer by delta (cell pixels), as far as
  // the picture's edges allow.
  void PanBy(QPointF delta, QSizeF cell);
  void Reset();

  // The shown part of a picture of size picture, in its pixels.
  QRectF Part(QSizeF picture) const;

 private:
  void Clamp();

  double factor_ = 1.0;
  QPointF origin_;
};
