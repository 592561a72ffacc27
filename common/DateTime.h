#pragma once
// Date-times are doubles: days since 30 December 1899, local time, the
// fraction being the time of day. These helpers are the only place that
// turns them into calendar fields and back.

#include <cstdint>
#include <optional>
#include <string>

// One tenth of a second in days: the reader's step across ring boundaries.
inline constexpr double StepGap = 0.1 / 86400.0;
inline constexpr double MillisecondsPerDay = 86400000.0;

// time + StepGap and time - StepGap, moved at least to the next representable
// value: far from day 0 the gap is lost in rounding, and a step that did not
// move would land on the record it came from for ever.
double AfterStepGap(double time);
double BeforeStepGap(double time);

struct DateTimeFields {
  int year = 1899;
  int month = 12;       // 1..12
  int day = 30;         // 1..31
  int hour = 0;         // 0..23
  int minute = 0;       // 0..59
  int second = 0;       // 0..59
  int millisecond = 0;  // 0..999
  int dayOfWeek = 6;    // ISO: 1 Monday .. 7 Sunday
};

// Splits a date-time after rounding it to the nearest millisecond, so the
// fields never show 60 seconds or 1000 milliseconds.
DateTimeFields SplitDateTime(double dateTime);

// The date-time of the given calendar fields (dayOfWeek is ignored).
double MakeDateTime(const DateTimeFields& fields);
double MakeDateTime(int year, int month, int day, int hour = 0, int minute = 0,
                    int second = 0, int millisecond = 0);

// True when the date-time falls exactly on midnight after millisecond rounding.
bool IsMidnight(double dateTime);

// "2026-12-07 09:00:00.040": the local date-time with milliseconds.
std::string FormatDateTimeIso(double dateTime);

// "07.12.2026 09:00:05.040": the date as the viewer's captions show it
// (day, month, year with dots) and the time with milliseconds.
std::string FormatDateTimeDotted(double dateTime);

// Accepts a day number ("46000.5") or a local date-time
// ("2026-12-07T09:00:00.040", "2026-12-07 09:00:00", "2026-12-07").
std::optional<double> ParseDateTime(const std::string& text);

// The day number printed with 17 significant digits, so it reads back exactly.
std::string FormatDayNumber(double dateTime);
