#include "archview/SpeedScale.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// Doublings of the multiple at mark i: -4 at the left end.
constexpr int DoublingsAtMark(std::size_t i) { return static_cast<int>(i) - 4; }

constexpr std::size_t LastMark = SpeedMarks.size() - 1;

}  // namespace

double MultipleAt(int position) {
  position = std::clamp(position, SpeedMarks.front(), SpeedMarks.back());
  std::size_t i = 0;
  while (i + 1 < LastMark && position > SpeedMarks[i + 1]) ++i;
  const double share = double(position - SpeedMarks[i]) / (SpeedMarks[i + 1] - SpeedMarks[i]);
  return std::exp2(DoublingsAtMark(i) + share);
}

int PositionOf(double multiple) {
  if (!(multiple > 0.0)) return SpeedMarks.front();
  const double doublings = std::clamp(std::log2(multiple), double(DoublingsAtMark(0)),
                                      double(DoublingsAtMark(LastMark)));
  const auto i = std::min(static_cast<std::size_t>(doublings - DoublingsAtMark(0)), LastMark - 1);
  const double share = doublings - DoublingsAtMark(i);
  return static_cast<int>(std::lround(SpeedMarks[i] + share * (SpeedMarks[i + 1] - SpeedMarks[i])));
}

int SnappedPosition(int position) {
  for (const int mark : SpeedMarks)
    if (std::abs(position - mark) <= SpeedSnapReach) return mark;
  return position;
}

int NextMark(int position, bool up) {
  if (up) {
    for (const int mark : SpeedMarks)
      if (mark > position) return mark;
    return SpeedMarks.back();
  }
  for (auto mark = SpeedMarks.rbegin(); mark != SpeedMarks.rend(); ++mark)
    if (*mark < position) return *mark;
  return SpeedMarks.front();
}

QString MultipleText(double multiple) {
  const QString sign = QStringLiteral("×");
  if (!(multiple > 0.0)) return sign + QLatin1Char('0');
  const double doublings = std::log2(multiple);
  const double whole = std::round(doublings);
  if (std::fabs(doublings - whole) < 1e-9) {
    const auto power = static_cast<long long>(std::exp2(std::fabs(whole)));
    return whole >= 0 ? sign + QString::number(power)
                       : sign + QStringLiteral("1/") + QString::number(power);
  }
  if (multiple >= 9.95) return sign + QString::number(multiple, 'f', 0);
  if (multiple >= 0.995) return sign + QString::number(multiple, 'f', 1);
  return sign + QString::number(multiple, 'f', 2);
}
