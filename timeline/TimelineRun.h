#pragma once
// The pieces a timeline is made of: runs of records of one camera and one
// kind bit, and the changes a builder hands to whoever shows them.

#include <cstdint>
#include <iterator>
#include <vector>

#include "common/RecordKind.h"

// Records whose neighbouring times lie at most this far apart make one run,
// unless the caller asks for another gap.
inline constexpr double DefaultRunGapSeconds = 5.0;

// The kind bits that have runs of their own, one lane each per camera: all
// four.
inline constexpr const auto& TimelineKinds = KindBits;
inline constexpr int TimelineKindCount = static_cast<int>(std::size(KindBits));

// The kinds whose runs are events: a jump to the next or previous event
// lands on the start of a run of one of these.
inline constexpr std::uint32_t EventKinds = KindActivity | KindMotion;

// Records of one camera carrying one kind bit, first and last time included;
// neighbouring records lie at most the gap apart.
struct TimelineRun {
  double first = 0.0;
  double last = 0.0;
  std::int64_t records = 0;
  bool operator==(const TimelineRun&) const = default;
};

// A run with the lane it belongs to.
struct LaneRun {
  int camera = 0;          // 0..31, as stored
  std::uint32_t kind = 0;  // one of TimelineKinds
  TimelineRun run;
  bool operator==(const LaneRun&) const = default;
};

// One lane's change: every run of the lane that overlaps from..to is
// replaced by runs (each of which lies within from..to).
struct LaneChange {
  int camera = 0;
  std::uint32_t kind = 0;
  double from = 0.0;
  double to = 0.0;
  std::vector<TimelineRun> runs;
};
using TimelineChanges = std::vector<LaneChange>;
