#include "archview/TimelineRuler.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "common/DateTime.h"

namespace {

constexpr double kSteps[] = {1,     2,     5,     10,     15,     30,     60,     120,
                             300,   600,   900,   1800,   3600,   7200,   10800,  21600,
                             43200, 86400, 172800, 604800, 1209600, 2592000};
constexpr double SecondsPerDay = 86400.0;

QString TwoDigits(int value) { return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')); }

QString TickLabel(double time, double stepSeconds, bool dayStart) {
  const DateTimeFields f = SplitDateTime(time);
  if (dayStart || stepSeconds >= SecondsPerDay) return TwoDigits(f.day) + '.' + TwoDigits(f.month);
  QString text = QString::number(f.hour) + ':' + TwoDigits(f.minute);
  if (stepSeconds < 60) text += ':' + TwoDigits(f.second);
  return text;
}

}  // namespace

double RulerStepSeconds(double spanDays, int width, double minPixels) {
  const double pixelsPerSecond = width / std::max(spanDays * SecondsPerDay, 1e-9);
  for (double step : kSteps)
    if (step * pixelsPerSecond >= minPixels) return step;
  return kSteps[std::size(kSteps) - 1];
}

std::vector<RulerTick> RulerTicks(double from, double to, double stepSeconds) {
  std::vector<RulerTick> ticks;
  if (!(stepSeconds > 0.0) || !(to >= from)) return ticks;
  const double first = std::ceil(from * SecondsPerDay / stepSeconds);
  const double last = std::floor(to * SecondsPerDay / stepSeconds);
  // A stretch far wider than its step would ask for more ticks than a
  // strip can show: none then, rather than millions.
  if (last - first > 10000) return ticks;
  for (double k = first; k <= last; ++k) {
    const double time = k * stepSeconds / SecondsPerDay;
    const bool dayStart = IsMidnight(time);
    ticks.push_back({time, TickLabel(time, stepSeconds, dayStart), dayStart});
  }
  return ticks;
}
