#include "archview/PositionBarMouse.h"

#include <QCursor>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>

#include <cstdlib>

#include "archview/ArchCaptions.h"
#include "archview/ArchView.h"
#include "archview/PositionBarTime.h"

namespace {
constexpr int kNotch = 120;  // a wheel notch, in eighths of a degree
}

TPositionBarMouse::TPositionBarMouse(TArchView& window)
    : QObject(&window), window_(window), bar_(window.CurrentPos) {
  QScrollBar* bar = bar_;
  bar->installEventFilter(this);
  connect(bar, &QScrollBar::sliderPressed, this, [this] {
    hint_ = window_.CurrentPos->toolTip();
    ShowThumbTime(window_.CurrentPos->sliderPosition());
  });
  connect(bar, &QScrollBar::sliderMoved, this, [this](int position) { ShowThumbTime(position); });
  connect(bar, &QScrollBar::sliderReleased, this, [this] {
    window_.CurrentPos->setToolTip(hint_);
    QToolTip::hideText();
  });
}

void TPositionBarMouse::ShowThumbTime(int position) {
  const QString text =
      DateTimeText(PositionBarTime(window_.IntervalStart(), window_.IntervalEnd(), position));
  window_.CurrentPos->setToolTip(text);
  // The thumb is under the mouse while it is held.
  QToolTip::showText(QCursor::pos() + QPoint(0, -36), text, window_.CurrentPos);
}

bool TPositionBarMouse::eventFilter(QObject* watched, QEvent* event) {
  if (watched != bar_ || event->type() != QEvent::Wheel) return false;
  const QPoint angle = static_cast<QWheelEvent*>(event)->angleDelta();
  // As the bar itself turns the wheel: up (or left) goes back in time.
  wheelDelta_ += std::abs(angle.x()) > std::abs(angle.y()) ? angle.x() : angle.y();
  while (std::abs(wheelDelta_) >= kNotch) {
    const bool back = wheelDelta_ > 0;
    wheelDelta_ -= back ? kNotch : -kNotch;
    bar_->triggerAction(back ? QAbstractSlider::SliderPageStepSub
                                           : QAbstractSlider::SliderPageStepAdd);
  }
  event->accept();
  return true;
}
