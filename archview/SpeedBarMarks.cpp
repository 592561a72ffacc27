#include "archview/SpeedBarMarks.h"

#include <QEvent>
#include <QPainter>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QToolButton>

#include "archview/ArchView.h"
#include "archview/SpeedScale.h"

namespace {

// The marks as ticks, in the place and manner of the bar's own ticks (which
// stand at -100, 0 and 100, themselves marks).
class MarkTicks final : public QWidget {
 public:
  explicit MarkTicks(QSlider* bar) : QWidget(bar), bar_(bar) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QStyleOptionSlider option;
    option.initFrom(bar_);
    option.orientation = bar_->orientation();
    option.minimum = bar_->minimum();
    option.maximum = bar_->maximum();
    option.tickPosition = bar_->tickPosition();
    option.tickInterval = bar_->tickInterval();
    const int handle = style()->pixelMetric(QStyle::PM_SliderLength, &option, bar_);
    const int length = style()->pixelMetric(QStyle::PM_SliderTickmarkOffset, &option, bar_);
    QPainter painter(this);
    // The colour the style gives its own ticks.
    painter.setPen(palette().color(QPalette::Highlight).darker(140));
    for (const int mark : SpeedMarks) {
      if (mark == bar_->minimum() || mark == bar_->maximum() || mark == 0) continue;
      const int x = QStyle::sliderPositionFromValue(bar_->minimum(), bar_->maximum(), mark,
                                                    width() - handle) + handle / 2;
      painter.drawLine(x, height() - 1 - 2, x, height() - 1 - length);
    }
  }

 private:
  QSlider* bar_;
};

}  // namespace

TSpeedBarMarks::TSpeedBarMarks(TArchView& window)
    : QObject(&window),
      window_(window),
      bar_(window.SpeedBar),
      ticks_(new MarkTicks(window.SpeedBar)) {
  ticks_->resize(bar_->size());
  ticks_->setVisible(window.RealTimeBtn->isChecked());
  bar_->installEventFilter(this);
  connect(bar_, &QSlider::actionTriggered, this, [this](int action) { Adjust(action); });
  connect(window.RealTimeBtn, &QToolButton::toggled, ticks_, &QWidget::setVisible);
}

void TSpeedBarMarks::Adjust(int action) {
  if (!window_.RealTimeBtn->isChecked()) return;
  QSlider* bar = bar_;
  // The slider has moved its position for the action but not yet its value:
  // a position put here is the one the action ends at.
  switch (action) {
    case QAbstractSlider::SliderPageStepAdd:
    case QAbstractSlider::SliderPageStepSub:
      bar->setSliderPosition(NextMark(bar->value(), action == QAbstractSlider::SliderPageStepAdd));
      break;
    case QAbstractSlider::SliderMove:
      if (bar->isSliderDown()) bar->setSliderPosition(SnappedPosition(bar->sliderPosition()));
      break;
    default:
      break;
  }
}

bool TSpeedBarMarks::eventFilter(QObject* watched, QEvent* event) {
  if (watched == bar_ && event->type() == QEvent::Resize) ticks_->resize(bar_->size());
  return false;
}
