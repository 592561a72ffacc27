#include "archview/SpeedMeter.h"

#include <algorithm>
#include <cmath>

#include "common/DateTime.h"

void TSpeedMeter::Reset() { count_ = 0; }

void TSpeedMeter::Sample(double elapsedSeconds, double archiveTime) {
  const Point point{elapsedSeconds, archiveTime};
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

QString SpeedReadoutText(double speed) {
  const QString sign = QStringLiteral("×");
  if (!(speed > 0.0)) return sign + QLatin1Char('0');
  if (speed >= 9.95) return sign + QString::number(speed, 'f', 0);
  if (speed >= 0.095) return sign + QString::number(speed, 'f', 1);
  return sign + QString::number(std::max(speed, 0.01), 'f', 2);
}
