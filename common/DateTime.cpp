#include "common/DateTime.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

// Day 0 of the date-time scale is 1899-12-30; these work in days since
// 1970-01-01 (Howard Hinnant's civil calendar algorithms).
constexpr std::int64_t kEpochOffsetDays = 25569;  // 1970-01-01 as a date-time

std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(y + (month <= 2));
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  std::int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}

}  // namespace

DateTimeFields SplitDateTime(double dateTime) {
  DateTimeFields f;
  if (!std::isfinite(dateTime) || std::fabs(dateTime) > 1e8) return f;
  const std::int64_t totalMs = std::llround(dateTime * MillisecondsPerDay);
  const std::int64_t days = FloorDiv(totalMs, 86400000);
  std::int64_t msOfDay = totalMs - days * 86400000;
  CivilFromDays(days - kEpochOffsetDays, f.year, f.month, f.day);
  f.hour = static_cast<int>(msOfDay / 3600000);
  msOfDay %= 3600000;
  f.minute = static_cast<int>(msOfDay / 60000);
  msOfDay %= 60000;
  f.second = static_cast<int>(msOfDay / 1000);
  f.millisecond = static_cast<int>(msOfDay % 1000);
  // 1899-12-30 was a Saturday (ISO 6).
  f.dayOfWeek = static_cast<int>(((days % 7) + 7 + 5) % 7) + 1;
  return f;
}

double MakeDateTime(int year, int month, int day, int hour, int minute,
                    int second, int millisecond) {
  const std::int64_t days =
      DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) +
      kEpochOffsetDays;
  const double ms = ((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + millisecond;
  return static_cast<double>(days) + ms / MillisecondsPerDay;
}

double MakeDateTime(const DateTimeFields& f) {
  return MakeDateTime(f.year, f.month, f.day, f.hour, f.minute, f.second,
                      f.millisecond);
}

bool IsMidnight(double dateTime) {
  const DateTimeFields f = SplitDateTime(dateTime);
  return f.hour == 0 && f.minute == 0 && f.second == 0 && f.millisecond == 0;
}

std::string FormatDateTimeIso(double dateTime) {
  const DateTimeFields f = SplitDateTime(dateTime);
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", f.year,
                f.month, f.day, f.hour, f.minute, f.second, f.millisecond);
  return text;
}

std::string FormatDateTimeDotted(double dateTime) {
  const DateTimeFields f = SplitDateTime(dateTime);
  char text[64];
  std::snprintf(text, sizeof text, "%02d.%02d.%04d %02d:%02d:%02d.%03d", f.day, f.month,
                f.year, f.hour, f.minute, f.second, f.millisecond);
  return text;
}

std::string FormatDayNumber(double dateTime) {
  char text[64];
  std::snprintf(text, sizeof text, "%.17g", dateTime);
  return text;
}

std::optional<double> ParseDateTime(const std::string& text) {
  if (text.empty()) return std::nullopt;
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
  char sep = 0;
  int consumed = 0;
  if (std::sscanf(text.c_str(), "%4d-%2d-%2d%n", &y, &mo, &d, &consumed) == 3 &&
      consumed == 10) {
    int ms = 0;
    std::string rest = text.substr(10);
    if (!rest.empty()) {
      int used = 0;
      if (std::sscanf(rest.c_str(), "%c%2d:%2d:%2d%n", &sep, &h, &mi, &s, &used) != 4 ||
          (sep != 'T' && sep != ' '))
        return std::nullopt;
      rest = rest.substr(static_cast<std::size_t>(used));
      if (!rest.empty()) {
        if (rest[0] != '.' || rest.size() < 2 || rest.size() > 4) return std::nullopt;
        for (std::size_t i = 1; i < rest.size(); ++i)
          if (rest[i] < '0' || rest[i] > '9') return std::nullopt;
        std::string digits = rest.substr(1);
        while (digits.size() < 3) digits += '0';
        ms = std::atoi(digits.c_str());
      }
    }
    if (mo < 1 || mo > 12 || d < 1 || d > 31 || h > 23 || mi > 59 || s > 59 ||
        h < 0 || mi < 0 || s < 0)
      return std::nullopt;
    return MakeDateTime(y, mo, d, h, mi, s, ms);
  }
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (end == text.c_str() || *end != '\0' || !std::isfinite(value)) return std::nullopt;
  return value;
}

double AfterStepGap(double time) {
  const double moved = time + StepGap;
  return moved > time ? moved : std::nextafter(time, HUGE_VAL);
}

double BeforeStepGap(double time) {
  const double moved = time - StepGap;
  return moved < time ? moved : std::nextafter(time, -HUGE_VAL);
}
