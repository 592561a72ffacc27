#pragma once
// TimelineRuns: the maximal runs of an archive's records, per camera (0..31)
// and per kind bit (1, 2, 4, 8), and the questions a timeline asks of them.
//
// Memory grows with the number of runs, never with the number of records.
// Chains of records may arrive in any order (overlapping volumes, rings out
// of order): each one is joined with every run it touches or comes within
// the gap of, so the runs are the maximal ones whatever the order.
//
// Not thread-safe: one thread owns an instance. A builder on a thread of its
// own hands its changes (TakeChanges) to the window's copy (Apply).

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "common/CameraMask.h"
#include "common/RecordKind.h"
#include "timeline/TimelineRun.h"

class TimelineRuns {
 public:
  explicit TimelineRuns(double gapSeconds = DefaultRunGapSeconds);

  double GapSeconds() const { return gapSeconds_; }
  // Two records whose times differ by at most this many days join: the gap,
  // and half a millisecond for the rounding of recorded times.
  double GapDays() const { return gapDays_; }
  // Whether a record at later joins one at earlier (later >= earlier).
  bool Joins(double earlier, double later) const { return later - earlier <= gapDays_; }

  // Adds a chain of records of one camera and kind bit whose neighbouring
  // times lie at most the gap apart. Ignored for a camera outside 0..31, a
  // kind that is not one of TimelineKinds, or no records.
  void Add(int camera, std::uint32_t kind, const TimelineRun& chain);

  std::size_t RunCount() const;
  // The cameras that have at least one run.
  std::uint32_t Cameras() const;
  // The earliest first and the latest last time of all runs; false if none.
  bool Extent(double& first, double& last) const;

  // The runs of the cameras and kinds in the masks, ordered by first time,
  // then camera, then kind.
  std::vector<LaneRun> Ordered(std::uint32_t cameras = AllCameras,
                               std::uint32_t kinds = KindAll) const;
  // Calls visit for each run of one lane that overlaps from..to, in time order.
  void VisitBetween(int camera, std::uint32_t kind, double from, double to,
                    const std::function<void(const TimelineRun&)>& visit) const;
  // The run of one lane that holds time, or else the first one after it;
  // nothing when there is none. A painter walks a lane with it one pixel
  // column at a time, however many runs a column holds.
  std::optional<TimelineRun> RunFrom(int camera, std::uint32_t kind, double time) const;
  // The kind bits of a camera that have a run overlapping from..to.
  std::uint32_t KindsBetween(int camera, double from, double to) const;

  // The first time of the earliest run that starts strictly after time, or
  // of the latest run that starts strictly before it, among the lanes of the
  // cameras and kinds in the masks.
  std::optional<double> StartAfter(double time, std::uint32_t cameras, std::uint32_t kinds) const;
  std::optional<double> StartBefore(double time, std::uint32_t cameras, std::uint32_t kinds) const;
  // The same among runs of EventKinds only: the jumps to the next and the
  // previous event. A run that goes on at time is no event to jump back to.
  std::optional<double> NextEvent(double time, std::uint32_t cameras, std::uint32_t kinds) const {
    return StartAfter(time, cameras, kinds & EventKinds);
  }
  std::optional<double> PreviousEvent(double time, std::uint32_t cameras,
                                      std::uint32_t kinds) const {
    return StartBefore(time, cameras, kinds & EventKinds);
  }
  // When the selection's records go on after time. Between runs it is the
  // time of the first record after time (the next run's first time). While a
  // selected run goes on past time, its next record lies at most the gap
  // ahead, and the answer is time itself. Nothing when no record follows.
  std::optional<double> NextRecordAfter(double time, std::uint32_t cameras,
                                        std::uint32_t kinds) const;

  // The lanes changed since the last call (or since construction), each with
  // every run now lying in the changed stretch.
  TimelineChanges TakeChanges();
  // Takes over changes made by another instance (with the same gap).
  void Apply(const TimelineChanges& changes);

 private:
  using Lane = std::map<double, TimelineRun>;  // keyed by first time
  static constexpr int LaneCount = CameraCount * TimelineKindCount;
  static int KindIndex(std::uint32_t kind);  // -1 for anything else
  static int LaneOf(int camera, int kindIndex) { return camera * TimelineKindCount + kindIndex; }
  // The run of the lane that holds time or the first one after it.
  static Lane::const_iterator FirstOverlapping(const Lane& lane, double time);
  template <typename Visit>
  void ForEachLane(std::uint32_t cameras, std::uint32_t kinds, Visit visit) const;
  void MarkChanged(int lane, double from, double to);

  double gapSeconds_;
  double gapDays_;
  std::array<Lane, LaneCount> lanes_;
  struct Changed {
    bool any = false;
    double from = 0.0;
    double to = 0.0;
  };
  std::array<Changed, LaneCount> changed_{};
};
