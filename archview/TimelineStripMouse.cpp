// The timeline strip under the mouse: a click goes to a time, a drag pans, a
// drag with Shift marks an interval, the wheel zooms around the pointer, a
// double click shows the whole archive; the hint follows the pointer.

#include <QApplication>
#include <QMouseEvent>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "archview/TimelineStrip.h"

namespace {

constexpr double kNotch = 120.0;  // a wheel notch, in eighths of a degree

}  // namespace

void TTimelineStrip::mousePressEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  if (event->button() != Qt::LeftButton || !scale_.HasExtent() ||
      !LanesRect().adjusted(0, -RulerHeight, 0, 0).contains(pos)) {
    QFrame::mousePressEvent(event);
    return;
  }
  drag_ = Drag::Pending;
  pressPos_ = pos;
  lastX_ = pos.x();
  shiftPress_ = (event->modifiers() & Qt::ShiftModifier) != 0;
}

void TTimelineStrip::mouseMoveEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  if (drag_ == Drag::Pending &&
      std::abs(pos.x() - pressPos_.x()) >= QApplication::startDragDistance()) {
    drag_ = shiftPress_ ? Drag::Mark : Drag::Pan;
    markFrom_ = TimeAtX(pressPos_.x());
    if (drag_ == Drag::Pan) setCursor(Qt::ClosedHandCursor);
  }
  if (drag_ == Drag::Pan) {
    // The time under the pointer stays under it.
    scale_.Pan(TimeAtX(lastX_) - TimeAtX(pos.x()));
    lastX_ = pos.x();
    positionColumn_ = PositionColumn();
    update();
  } else if (drag_ == Drag::Mark) {
    const QRect lanes = LanesRect();
    markTo_ = TimeAtX(std::clamp(pos.x(), lanes.left(), lanes.right() + 1));
    update();
  }
  if (QToolTip::isVisible()) ShowHint(pos, event->globalPosition().toPoint());
  QFrame::mouseMoveEvent(event);
}

void TTimelineStrip::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || drag_ == Drag::None) {
    QFrame::mouseReleaseEvent(event);
    return;
  }
  const Drag drag = drag_;
  drag_ = Drag::None;
  unsetCursor();
  update();
  if (drag == Drag::Pending) {
    emit TimeClicked(TimeAtX(pressPos_.x()));
  } else if (drag == Drag::Mark) {
    emit IntervalMarked(std::min(markFrom_, markTo_), std::max(markFrom_, markTo_));
  }
}

void TTimelineStrip::mouseDoubleClickEvent(QMouseEvent* event) {
  // The first click of the two went to its time already.
  if (event->button() != Qt::LeftButton || !scale_.HasExtent()) {
    QFrame::mouseDoubleClickEvent(event);
    return;
  }
  scale_.ShowWhole();
  positionColumn_ = PositionColumn();
  update();
}

void TTimelineStrip::wheelEvent(QWheelEvent* event) {
  const QPoint pos = event->position().toPoint();
  const QRect lanes = LanesRect();
  if (!scale_.HasExtent() || pos.x() < lanes.left() || pos.x() > lanes.right()) {
    QFrame::wheelEvent(event);
    return;
  }
  const QPoint angle = event->angleDelta();
  const int delta = std::abs(angle.x()) > std::abs(angle.y()) ? angle.x() : angle.y();
  // Up zooms in; part of a notch (a touchpad) zooms part of the way.
  scale_.ZoomAround(TimeAtX(pos.x()), std::pow(NotchZoom, -delta / kNotch));
  positionColumn_ = PositionColumn();
  update();
  event->accept();
}
