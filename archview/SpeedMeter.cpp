#include "archview/SpeedMeter.h"

#include <algorithm>
#include <cmath>

#include "archview/SpeedScale.h"
#include "common/DateTime.h"

void TSpeedMeter::Reset() { count_ = 0; }

void TSpeedMeter::Sample(double elapsedSeconds, double archiveTime, long long shown,
                         long long passedOver) {
  const Point point{elapsedSeconds, archiveTime, shown, passedOver};
  if (count_ >= 2 && points_[count_ - 1].seconds - points_[count_ - 2].seconds < Spacing) {
    points_[count_ - 1] = point;
  } else {
    if (count_ == static_cast<int>(points_.size())) {
      std::copy(points_.begin() + 1, points_.end(), points_.begin());
      --count_;
    }
    points_[count_++] = point;
  }
  // The oldest goes once the next one also lies outside the window, so
  // sparse samples (a slow run) still span the window.
  int drop = 0;
  while (count_ - drop > 2 && elapsedSeconds - points_[drop + 1].seconds > Window) ++drop;
  std::copy(points_.begin() + drop, points_.begin() + count_, points_.begin());
  count_ -= drop;
}

double TSpeedMeter::Speed() const {
  if (count_ < 2) return -1.0;
  const Point& first = points_[0];
  const Point& last = points_[count_ - 1];
  const double span = last.seconds - first.seconds;
  if (!(span >= MinSpan)) return -1.0;
  return std::fabs(last.time - first.time) * (MillisecondsPerDay / 1000.0) / span;
}

double TSpeedMeter::PassedOverShare() const {
  if (count_ < 2) return -1.0;
  const Point& first = points_[0];
  const Point& last = points_[count_ - 1];
  const long long passed = last.passedOver - first.passedOver;
  const long long due = passed + last.shown - first.shown;
  return due > 0 ? double(passed) / double(due) : -1.0;
}

QString SpeedReadoutText(double speed) {
  const QString sign = QStringLiteral("×");
  if (!(speed > 0.0)) return sign + QLatin1Char('0');
  if (speed >= 9.95) return sign + QString::number(speed, 'f', 0);
  if (speed >= 0.095) return sign + QString::number(speed, 'f', 1);
  return sign + QString::number(std::max(speed, 0.01), 'f', 2);
}

QString RealTimeReadoutText(double asked, double achieved, double passedShare) {
  QString text = MultipleText(asked);
  // The meter's figure wavers, by up to a tenth while catching up; only a
  // clear shortfall is told.
  if (achieved >= 0.0 && achieved < 0.85 * asked)
    text += QStringLiteral(" → ") + SpeedReadoutText(achieved);
  if (passedShare > 0.0) {
    const long percent = std::max(1L, std::lround(100.0 * passedShare));
    text += QStringLiteral(", пропущено %1 %").arg(percent);
  }
  return text;
}

QString GapCrossedText(double seconds) {
  const long long total = std::llround(std::max(0.0, seconds));
  const auto two = [](long long v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
  const long long hours = total / 3600, minutes = total / 60 % 60, rest = total % 60;
  const QString clock = hours > 0 ? QString::number(hours) + ':' + two(minutes) + ':' + two(rest)
                                  : QString::number(minutes) + ':' + two(rest);
  return QStringLiteral("пропуск ") + clock;
}
