#include "timeline/TimelineRuns.h"

#include <algorithm>
#include <bit>
#include <iterator>
#include <tuple>

#include "common/DateTime.h"

namespace {

// Recorded times carry whole milliseconds; half of one more absorbs the
// rounding of day fractions, so a gap of exactly the gap joins and one a
// millisecond longer does not.
constexpr double JoinSlackDays = 0.5 / MillisecondsPerDay;

}  // namespace

TimelineRuns::TimelineRuns(double gapSeconds)
    : gapSeconds_(gapSeconds), gapDays_(gapSeconds / 86400.0 + JoinSlackDays) {}

int TimelineRuns::KindIndex(std::uint32_t kind) {
  for (int k = 0; k < TimelineKindCount; ++k)
    if (TimelineKinds[k] == kind) return k;
  return -1;
}

template <typename Visit>
void TimelineRuns::ForEachLane(std::uint32_t cameras, std::uint32_t kinds, Visit visit) const {
  for (int camera = 0; camera < CameraCount; ++camera) {
    if (!CameraWanted(cameras, camera)) continue;
    for (int k = 0; k < TimelineKindCount; ++k) {
      if ((kinds & TimelineKinds[k]) == 0) continue;
      const Lane& lane = lanes_[std::size_t(LaneOf(camera, k))];
      if (!lane.empty()) visit(camera, k, lane);
    }
  }
}

void TimelineRuns::MarkChanged(int lane, double from, double to) {
  Changed& c = changed_[std::size_t(lane)];
  if (!c.any) {
    c = Changed{true, from, to};
    return;
  }
  c.from = std::min(c.from, from);
  c.to = std::max(c.to, to);
}

void TimelineRuns::Add(int camera, std::uint32_t kind, const TimelineRun& chain) {
  const int k = KindIndex(kind);
  if (CameraBit(camera) == 0 || k < 0 || chain.records <= 0) return;
  const int index = LaneOf(camera, k);
  Lane& lane = lanes_[std::size_t(index)];
  TimelineRun joined = chain;
  // The runs that join form one stretch of the lane: the one before the
  // chain if it reaches within the gap, then every one starting within the
  // gap of the growing run's end.
  auto it = lane.upper_bound(joined.first);
  if (it != lane.begin() && Joins(std::prev(it)->second.last, joined.first)) --it;
  const auto begin = it;
  for (; it != lane.end() && Joins(joined.last, it->second.first); ++it) {
    joined.first = std::min(joined.first, it->second.first);
    joined.last = std::max(joined.last, it->second.last);
    joined.records += it->second.records;
  }
  if (begin != it && begin->first == joined.first) {
    // The common case, a run growing at its end: no node is made.
    begin->second = joined;
    lane.erase(std::next(begin), it);
  } else {
    lane.erase(begin, it);
    lane.emplace_hint(it, joined.first, joined);
  }
  MarkChanged(index, joined.first, joined.last);
}

std::size_t TimelineRuns::RunCount() const {
  std::size_t n = 0;
  for (const Lane& lane : lanes_) n += lane.size();
  return n;
}

std::uint32_t TimelineRuns::Cameras() const {
  std::uint32_t cameras = 0;
  for (int lane = 0; lane < LaneCount; ++lane)
    if (!lanes_[lane].empty()) cameras |= CameraBit(lane / TimelineKindCount);
  return cameras;
}

bool TimelineRuns::Extent(double& first, double& last) const {
  bool any = false;
  ForEachLane(AllCameras, KindAll, [&](int, int, const Lane& lane) {
    const double f = lane.begin()->second.first, l = lane.rbegin()->second.last;
    first = any ? std::min(first, f) : f;
    last = any ? std::max(last, l) : l;
    any = true;
  });
  return any;
}

std::vector<LaneRun> TimelineRuns::Ordered(std::uint32_t cameras, std::uint32_t kinds) const {
  std::vector<LaneRun> runs;
  ForEachLane(cameras, kinds, [&](int camera, int k, const Lane& lane) {
    for (const auto& [first, run] : lane) runs.push_back(LaneRun{camera, TimelineKinds[k], run});
  });
  std::sort(runs.begin(), runs.end(), [](const LaneRun& a, const LaneRun& b) {
    return std::tie(a.run.first, a.camera, a.kind) < std::tie(b.run.first, b.camera, b.kind);
  });
  return runs;
}

TimelineRuns::Lane::const_iterator TimelineRuns::FirstOverlapping(const Lane& lane, double time) {
  auto it = lane.upper_bound(time);
  if (it != lane.begin() && std::prev(it)->second.last >= time) --it;
  return it;
}

void TimelineRuns::VisitBetween(int camera, std::uint32_t kind, double from, double to,
                                const std::function<void(const TimelineRun&)>& visit) const {
  const int k = KindIndex(kind);
  if (CameraBit(camera) == 0 || k < 0) return;
  const Lane& lane = lanes_[std::size_t(LaneOf(camera, k))];
  for (auto it = FirstOverlapping(lane, from); it != lane.end() && it->second.first <= to; ++it)
    visit(it->second);
}

std::optional<TimelineRun> TimelineRuns::RunFrom(int camera, std::uint32_t kind,
                                                  double time) const {
  const int k = KindIndex(kind);
  if (CameraBit(camera) == 0 || k < 0) return std::nullopt;
  const Lane& lane = lanes_[std::size_t(LaneOf(camera, k))];
  const auto it = FirstOverlapping(lane, time);
  if (it == lane.end()) return std::nullopt;
  return it->second;
}

std::uint32_t TimelineRuns::KindsBetween(int camera, double from, double to) const {
  std::uint32_t kinds = 0;
  ForEachLane(CameraBit(camera), KindAll, [&](int, int k, const Lane& lane) {
    const auto it = FirstOverlapping(lane, from);
    if (it != lane.end() && it->second.first <= to) kinds |= TimelineKinds[k];
  });
  return kinds;
}

std::optional<double> TimelineRuns::StartAfter(double time, std::uint32_t cameras,
                                               std::uint32_t kinds) const {
  std::optional<double> best;
  ForEachLane(cameras, kinds, [&](int, int, const Lane& lane) {
    const auto it = lane.upper_bound(time);
    if (it != lane.end() && (!best || it->first < *best)) best = it->first;
  });
  return best;
}

std::optional<double> TimelineRuns::StartBefore(double time, std::uint32_t cameras,
                                                std::uint32_t kinds) const {
  std::optional<double> best;
  ForEachLane(cameras, kinds, [&](int, int, const Lane& lane) {
    const auto it = lane.lower_bound(time);
    if (it != lane.begin() && (!best || std::prev(it)->first > *best)) best = std::prev(it)->first;
  });
  return best;
}

std::optional<double> TimelineRuns::NextRecordAfter(double time, std::uint32_t cameras,
                                                    std::uint32_t kinds) const {
  std::optional<double> best;
  bool goesOn = false;
  ForEachLane(cameras, kinds, [&](int, int, const Lane& lane) {
    const auto it = lane.upper_bound(time);
    if (it != lane.begin() && std::prev(it)->second.last > time) goesOn = true;
    if (it != lane.end() && (!best || it->first < *best)) best = it->first;
  });
  if (goesOn) return time;
  return best;
}

TimelineChanges TimelineRuns::TakeChanges() {
  TimelineChanges changes;
  for (int index = 0; index < LaneCount; ++index) {
    Changed& c = changed_[std::size_t(index)];
    if (!c.any) continue;
    LaneChange change{index / TimelineKindCount, TimelineKinds[index % TimelineKindCount], c.from,
                      c.to, {}};
    const Lane& lane = lanes_[std::size_t(index)];
    for (auto it = FirstOverlapping(lane, c.from); it != lane.end() && it->second.first <= c.to;
         ++it)
      change.runs.push_back(it->second);
    changes.push_back(std::move(change));
    c = Changed{};
  }
  return changes;
}

void TimelineRuns::Apply(const TimelineChanges& changes) {
  for (const LaneChange& change : changes) {
    const int k = KindIndex(change.kind);
    if (CameraBit(change.camera) == 0 || k < 0) continue;
    const int index = LaneOf(change.camera, k);
    Lane& lane = lanes_[std::size_t(index)];
    auto it = FirstOverlapping(lane, change.from);
    while (it != lane.end() && it->second.first <= change.to) it = lane.erase(it);
    for (const TimelineRun& run : change.runs) lane.insert_or_assign(run.first, run);
    MarkChanged(index, change.from, change.to);
  }
}
