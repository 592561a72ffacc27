#include "view/RepaintPacer.h"

#include <QCoreApplication>
#include <QEvent>
#include <QScreen>
#include <QWidget>

namespace {

// Screens report odd rates at times (0 for unknown, or a remote display's
// few pictures a second); pictures are never held back longer than 1/20 s.
constexpr double kUsualRate = 60.0;
constexpr double kSlowestRate = 20.0;
constexpr double kFastestRate = 240.0;

}  // namespace

RepaintPacer::RepaintPacer(QWidget* window) : QObject(window), window_(window) {
  due_.setSingleShot(true);
  due_.setTimerType(Qt::PreciseTimer);
  connect(&due_, &QTimer::timeout, this, &RepaintPacer::PaintNow);
  window_->installEventFilter(this);
}

qint64 RepaintPacer::FrameInterval() const {
  const QScreen* screen = window_->screen();
  double rate = screen ? screen->refreshRate() : kUsualRate;
  if (!(rate >= kSlowestRate)) rate = kUsualRate;  // also NaN
  if (rate > kFastestRate) rate = kFastestRate;
  return static_cast<qint64>(1e9 / rate);
}

bool RepaintPacer::eventFilter(QObject* watched, QEvent* event) {
  if (watched != window_ || event->type() != QEvent::UpdateRequest || passing_) return false;
  const qint64 interval = FrameInterval();
  if (!sincePaint_.isValid() || sincePaint_.nsecsElapsed() >= interval) {
    sincePaint_.start();
    return false;
  }
  // Qt asks again only after a paint, so this one is made by the timer.
  if (!due_.isActive()) {
    const qint64 left = interval - sincePaint_.nsecsElapsed();
    due_.start(static_cast<int>((left + 999'999) / 1'000'000));
  }
  return true;
}

void RepaintPacer::PaintNow() {
  sincePaint_.start();
  passing_ = true;
  QEvent request(QEvent::UpdateRequest);
  QCoreApplication::sendEvent(window_, &request);
  passing_ = false;
}
