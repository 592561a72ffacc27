#include "view/PictureZoom.h"

#include <algorithm>

namespace {

// A factor this close to 1 is 1: zooming in and out by the same steps comes
// back to the whole picture despite rounding.
constexpr double kWhole = 1.0 + 1e-9;

}  // namespace

void PictureZoom::ZoomAt(QPointF at, QSizeF cell, double by, double most) {
  if (cell.isEmpty() || !(by > 0.0)) return;
  const QPointF share(at.x() / cell.width(), at.y() / cell.height());
  // The picture's point under the pointer, in its proportions.
  const QPointF point = origin_ + share / factor_;
  factor_ = std::clamp(factor_ * by, 1.0, std::max(1.0, most));
  if (factor_ < kWhole) {
    Reset();
    return;
  }
  origin_ = point - share / factor_;
  Clamp();
}

void PictureZoom::PanBy(QPointF delta, QSizeF cell) {
  if (!Zoomed() || cell.isEmpty()) return;
  origin_ -= QPointF(delta.x() / cell.width(), delta.y() / cell.height()) / factor_;
  Clamp();
}

void PictureZoom::Reset() {
  factor_ = 1.0;
  origin_ = QPointF();
}

void PictureZoom::Clamp() {
  const double last = 1.0 - 1.0 / factor_;
  origin_.setX(std::clamp(origin_.x(), 0.0, last));
  origin_.setY(std::clamp(origin_.y(), 0.0, last));
}

QRectF PictureZoom::Part(QSizeF picture) const {
  return QRectF(origin_.x() * picture.width(), origin_.y() * picture.height(),
                picture.width() / factor_, picture.height() / factor_);
}
