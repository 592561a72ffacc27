#pragma once
// The timeline strip's ruler: where its labelled ticks go and what they say,
// for whatever stretch the strip shows, from days down to seconds.

#include <QString>

#include <vector>

struct RulerTick {
  double time = 0.0;     // a date-time
  QString label;
  bool dayStart = false;  // midnight: the label is the date
};

// The steps a ruler goes in, in seconds, shortest first: 1, 2, 5, 10, 15,
// 30 s; 1, 2, 5, 10, 15, 30 min; 1, 2, 3, 6, 12 h; 1, 2, 7, 14, 30 days.
// The shortest whose ticks lie at least minPixels apart when spanDays lie
// across width pixels; the longest when none does.
double RulerStepSeconds(double spanDays, int width, double minPixels);

// The ticks at the whole multiples of the step (counted from midnight) from
// from to to, both included. Each says the date ("07.12") at midnight and
// for steps of a day or more, else the time ("9:05", with seconds, "9:05:30",
// for steps below a minute).
std::vector<RulerTick> RulerTicks(double from, double to, double stepSeconds);
