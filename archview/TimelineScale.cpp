#include "archview/TimelineScale.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double SecondsPerDay = 86400.0;
// The whole archive leaves this share of its span free at either end, so the
// first and last records do not sit on the strip's edges.
constexpr double MarginShare = 0.01;

}  // namespace

bool TimelineScale::SetExtent(double first, double last) {
  if (!std::isfinite(first) || !std::isfinite(last) || last < first) {
    hasExtent_ = false;
    return false;
  }
  const bool fresh = !hasExtent_;
  hasExtent_ = true;
  first_ = first;
  last_ = last;
  if (fresh || whole_) {
    ShowWhole();
  } else {
    Bound();
  }
  return true;
}

double TimelineScale::WholeFrom() const {
  const double margin = (last_ - first_) * MarginShare;
  const double middle = (first_ + last_) / 2.0;
  return std::min(first_ - margin, middle - MinSpanSeconds / SecondsPerDay / 2.0);
}

double TimelineScale::WholeTo() const {
  const double margin = (last_ - first_) * MarginShare;
  const double middle = (first_ + last_) / 2.0;
  return std::max(last_ + margin, middle + MinSpanSeconds / SecondsPerDay / 2.0);
}

void TimelineScale::ShowWhole() {
  whole_ = true;
  if (!hasExtent_) return;
  from_ = WholeFrom();
  to_ = WholeTo();
}

void TimelineScale::Bound() {
  const double lower = WholeFrom(), upper = WholeTo();
  const double span = to_ - from_;
  if (span >= upper - lower) {
    ShowWhole();
    return;
  }
  whole_ = false;
  if (from_ < lower) {
    from_ = lower;
    to_ = lower + span;
  } else if (to_ > upper) {
    to_ = upper;
    from_ = upper - span;
  }
}

void TimelineScale::ZoomAround(double time, double factor) {
  if (!hasExtent_ || !(factor > 0.0)) return;
  const double minSpan = MinSpanSeconds / SecondsPerDay;
  const double span = std::max(minSpan, Span() * factor);
  const double share = Span() > 0.0 ? (time - from_) / Span() : 0.5;
  from_ = time - share * span;
  to_ = from_ + span;
  Bound();
}

void TimelineScale::Pan(double days) {
  if (!hasExtent_ || whole_) return;
  from_ += days;
  to_ += days;
  Bound();
}

void TimelineScale::Place(double time, double share) {
  if (!hasExtent_ || whole_) return;
  const double span = Span();
  from_ = time - share * span;
  to_ = from_ + span;
  Bound();
}

double TimelineScale::TimeAt(double x, int width) const {
  return from_ + Span() * x / std::max(1, width);
}

double TimelineScale::XOf(double time, int width) const {
  return Span() > 0.0 ? (time - from_) / Span() * std::max(1, width) : 0.0;
}
