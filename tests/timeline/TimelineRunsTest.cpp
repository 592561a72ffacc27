// The run rule, whatever order records come in, and the questions a
// timeline asks of the runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "tests/archive/support/VolumeBuilder.h"
#include "timeline/RunChains.h"
#include "timeline/TimelineRuns.h"

namespace {

using orxtest::Ms;
using orxtest::Sec;

// Maximal runs of one lane, worked out by sorting: the yardstick.
std::vector<TimelineRun> SortedRuns(std::vector<std::int64_t> ms, std::int64_t gapMs) {
  std::sort(ms.begin(), ms.end());
  std::vector<TimelineRun> runs;
  for (std::size_t i = 0; i < ms.size(); ++i) {
    if (i == 0 || ms[i] - ms[i - 1] > gapMs)
      runs.push_back(TimelineRun{Ms(ms[i]), Ms(ms[i]), 0});
    runs.back().last = Ms(ms[i]);
    ++runs.back().records;
  }
  return runs;
}

std::vector<TimelineRun> LaneOf(const TimelineRuns& runs, int camera, std::uint32_t kind) {
  std::vector<TimelineRun> lane;
  runs.VisitBetween(camera, kind, -1e9, 1e9, [&](const TimelineRun& r) { lane.push_back(r); });
  return lane;
}

struct GapCase {
  const char* name;
  double gapSeconds;
  std::vector<std::int64_t> ms;  // in the order they are recorded
};

class RunRule : public ::testing::TestWithParam<GapCase> {};

// Records come in as given and reversed, one chain each and gathered into
// chains: every way gives the maximal runs.
TEST_P(RunRule, GivesTheMaximalRunsInAnyOrder) {
  const GapCase& c = GetParam();
  const auto expected = SortedRuns(c.ms, std::int64_t(c.gapSeconds * 1000));
  for (bool reversed : {false, true}) {
    std::vector<std::int64_t> ms = c.ms;
    if (reversed) std::reverse(ms.begin(), ms.end());
    TimelineRuns single(c.gapSeconds), chained(c.gapSeconds);
    RunChains chains(chained);
    for (std::int64_t t : ms) {
      single.Add(3, KindMotion, TimelineRun{Ms(t), Ms(t), 1});
      chains.Record(3, KindMotion, Ms(t));
    }
    chains.Flush();
    EXPECT_EQ(LaneOf(single, 3, KindMotion), expected) << reversed;
    EXPECT_EQ(LaneOf(chained, 3, KindMotion), expected) << reversed;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Gaps, RunRule,
    ::testing::Values(GapCase{"GapEqualToG", 5, {0, 5000, 10000}},
                      GapCase{"GapJustPastG", 5, {0, 5001, 10002}},
                      GapCase{"OtherGap", 2, {0, 2000, 4001}},
                      GapCase{"ZeroGapJoinsEqualTimes", 0, {0, 0, 1, 1}},
                      GapCase{"LateRecordBridgesTwoRuns", 5, {0, 9000, 4500}},
                      GapCase{"OutOfOrder", 5, {30000, 0, 31000, 3000, 26000, 70000}}),
    [](const auto& info) { return std::string(info.param.name); });

// Random records in random order over four lanes, handed on to a copy
// change by change: both hold the runs sorting gives.
TEST(RunRule, RandomOrderAndHandedOnChangesMatchSorting) {
  std::mt19937 rng(16);
  std::uniform_int_distribution<std::int64_t> when(0, 400000);
  TimelineRuns runs, copy;
  RunChains chains(runs);
  std::vector<std::int64_t> ms[4];
  for (int i = 0; i < 2000; ++i) {
    const int lane = i % 4;
    ms[lane].push_back(when(rng));
    chains.Record(lane, TimelineKinds[lane], Ms(ms[lane].back()));
    if (i % 97 == 0) {
      chains.Flush();
      copy.Apply(runs.TakeChanges());
    }
  }
  chains.Flush();
  copy.Apply(runs.TakeChanges());
  for (int lane = 0; lane < 4; ++lane) {
    EXPECT_EQ(LaneOf(runs, lane, TimelineKinds[lane]), SortedRuns(ms[lane], 5000)) << lane;
    EXPECT_EQ(LaneOf(copy, lane, TimelineKinds[lane]), SortedRuns(ms[lane], 5000)) << lane;
  }
  EXPECT_TRUE(runs.TakeChanges().empty());
}

// Camera 0 motion 10..20 and 100..110 s, camera 1 activity 50..60,
// camera 2 continuous 0..200, camera 3 motion history 70..75.
class RunQueries : public ::testing::Test {
 protected:
  RunQueries() {
    runs.Add(0, KindMotion, {Sec(10), Sec(20), 3});
    runs.Add(0, KindMotion, {Sec(100), Sec(110), 3});
    runs.Add(1, KindActivity, {Sec(50), Sec(60), 3});
    runs.Add(2, KindContinuous, {Sec(0), Sec(200), 60});
    runs.Add(3, KindMotionHistory, {Sec(70), Sec(75), 2});
  }
  TimelineRuns runs;
};

struct Ask {
  enum { Next, Previous, Record } what;
  double at;
  std::uint32_t cameras, kinds;
  double expected;  // < 0: no answer
};

TEST_F(RunQueries, EventsAndRecordsAhead) {
  const Ask asks[] = {
      {Ask::Next, 0, AllCameras, KindAll, 10},
      {Ask::Next, 10, AllCameras, KindAll, 50},   // strictly after
      {Ask::Next, 15, 0x1, KindAll, 100},          // camera 1 hidden
      {Ask::Next, 0, AllCameras, KindActivity, 50},
      {Ask::Next, 0, AllCameras, KindContinuous | KindMotionHistory, -1},
      {Ask::Next, 100, AllCameras, KindAll, -1},  // no event left
      {Ask::Previous, 15, AllCameras, KindAll, 10},  // inside a run: its start
      {Ask::Previous, 10, AllCameras, KindAll, -1},  // not its own start
      {Ask::Previous, 200, AllCameras, KindAll, 100},
      {Ask::Previous, 200, 0x2, KindAll, 50},
      {Ask::Record, 15, 0xB, KindAll, 15},   // a run goes on
      {Ask::Record, 20, 0xB, KindAll, 50},   // the run ended there
      {Ask::Record, 60, 0xB, KindAll, 70},
      {Ask::Record, 60, 0xB, KindMotion, 100},
      {Ask::Record, 110, 0xB, KindAll, -1},
      {Ask::Record, 150, AllCameras, KindAll, 150},
  };
  for (const Ask& a : asks) {
    const std::optional<double> got =
        a.what == Ask::Next       ? runs.NextEvent(Sec(a.at), a.cameras, a.kinds)
        : a.what == Ask::Previous ? runs.PreviousEvent(Sec(a.at), a.cameras, a.kinds)
                                  : runs.NextRecordAfter(Sec(a.at), a.cameras, a.kinds);
    if (a.expected < 0)
      EXPECT_FALSE(got) << int(a.what) << " at " << a.at;
    else
      EXPECT_EQ(got, Sec(a.expected)) << int(a.what) << " at " << a.at;
  }
}

TEST_F(RunQueries, OrderKindsAndExtent) {
  const auto ordered = runs.Ordered(0x3, KindAll);
  ASSERT_EQ(ordered.size(), 3u);
  EXPECT_EQ(ordered[1], (LaneRun{1, KindActivity, {Sec(50), Sec(60), 3}}));
  EXPECT_EQ(runs.KindsBetween(0, Sec(21), Sec(99)), 0u);
  EXPECT_EQ(runs.KindsBetween(0, Sec(19), Sec(99)), KindMotion);
  // The run holding a time, else the next one.
  EXPECT_EQ(runs.RunFrom(0, KindMotion, Sec(20))->first, Sec(10));
  EXPECT_EQ(runs.RunFrom(0, KindMotion, Sec(21))->first, Sec(100));
  EXPECT_FALSE(runs.RunFrom(0, KindMotion, Sec(111)));
  double first = 0, last = 0;
  ASSERT_TRUE(runs.Extent(first, last));
  EXPECT_EQ(first, Sec(0));
  EXPECT_EQ(last, Sec(200));
}

}  // namespace
