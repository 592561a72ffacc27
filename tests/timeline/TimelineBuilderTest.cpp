// Runs read from volumes: damaged entries count as the reader treats them,
// overlapping volumes and the cut give maximal runs, and a growing volume
// is read on from where it was.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "tests/archive/support/VolumeBuilder.h"
#include "timeline/TimelineBuilder.h"

namespace {

using orxtest::Sec;
using orxtest::TempDir;
using orxtest::VolumeBuilder;

struct Expect {
  int camera;
  std::uint32_t kind;
  double first, last;  // seconds
  std::int64_t records;
};

std::vector<LaneRun> Runs(std::vector<Expect> expected) {
  std::vector<LaneRun> runs;
  for (const Expect& e : expected)
    runs.push_back(LaneRun{e.camera, e.kind, {Sec(e.first), Sec(e.last), e.records}});
  return runs;
}

std::vector<LaneRun> Built(const VolumeList& volumes, TimelineOptions options = {}) {
  TimelineBuilder builder(volumes, options);
  builder.ReadAll();
  return builder.Runs().Ordered();
}

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// Volume a: camera 0 motion at 0..9 s in ring 0, its entries then changed
// as the case says. Volume b: camera 1 continuous at 100..102 s, so the
// archive's times reach from 0 to 102 s.
struct DamageCase {
  const char* name;
  void (*damage)(std::vector<IndexEntry>&);
  std::vector<Expect> runsOfA;
};

class Damage : public ::testing::TestWithParam<DamageCase> {};

TEST_P(Damage, EntriesTheReaderWouldNotHandOutMakeNoRuns) {
  TempDir dir;
  VolumeBuilder a(dir.File("a.oxa"));
  std::vector<IndexEntry> e;
  for (int s = 0; s < 10; ++s) e.push_back(a.Add(0, Sec(s), 0, KindMotion));
  GetParam().damage(e);
  for (std::size_t slot = 0; slot < e.size(); ++slot) a.PutEntry(0, std::int64_t(slot), e[slot]);
  VolumeBuilder b(dir.File("b.oxa"));
  b.AddRun(0, 3, 100, 1, 1, KindContinuous);
  std::vector<Expect> expected = GetParam().runsOfA;
  expected.push_back({1, KindContinuous, 100, 102, 3});
  EXPECT_EQ(Built({a.Path(), b.Path()}), Runs(expected));
}

const std::vector<Expect> NineOfTen{{0, KindMotion, 0, 9, 9}};

INSTANTIATE_TEST_SUITE_P(
    Entries, Damage,
    ::testing::Values(
        DamageCase{"Sound", [](auto&) {}, {{0, KindMotion, 0, 9, 10}}},
        DamageCase{"CameraOutside0To31", [](auto& e) { e[4].Camera = 32; }, NineOfTen},
        DamageCase{"TimeNotANumber", [](auto& e) { e[4].Time = NaN; }, NineOfTen},
        DamageCase{"TimePastTheArchive", [](auto& e) { e[5].Time = Sec(103); }, NineOfTen},
        DamageCase{"TimePastItsRingWithinTheArchive", [](auto& e) { e[5].Time = Sec(50); },
                   {{0, KindMotion, 0, 9, 9}, {0, KindMotion, 50, 50, 1}}},
        DamageCase{"FrameTooShort", [](auto& e) { e[3].Length = 99; }, NineOfTen},
        DamageCase{"FramePastTheFile", [](auto& e) { e[3].Offset = MinVolumeSize - 150; },
                   NineOfTen},
        DamageCase{"KindsWithoutALane", [](auto& e) { e[2].Kind = 16, e[3].Kind = 0; },
                   {{0, KindMotion, 0, 9, 8}}},
        DamageCase{"RingEndNotANumberLeavesTheRingOut", [](auto& e) { e[9].Time = NaN; }, {}},
        DamageCase{"RingOutOfOrder",
                   [](auto& e) { e[5].Time = Sec(30), e[6].Time = Sec(31), e[9].Time = Sec(40); },
                   {{0, KindMotion, 0, 8, 7},
                    {0, KindMotion, 30, 31, 2},
                    {0, KindMotion, 40, 40, 1}}}),
    [](const auto& info) { return std::string(info.param.name); });

// a: camera 0 continuous and motion at 0..10 s; b: camera 0 motion at
// 5.5..20.5 s. In either list order, one motion run across both.
TEST(TimelineVolumes, OverlappingVolumesMakeOneRun) {
  TempDir dir;
  VolumeBuilder a(dir.File("a.oxa")), b(dir.File("b.oxa"));
  a.AddRun(0, 11, 0, 1, 0, KindContinuous | KindMotion);
  b.AddRun(0, 16, 5.5, 1, 0, KindMotion);
  const auto expected = Runs({{0, KindContinuous, 0, 10, 11}, {0, KindMotion, 0, 20.5, 27}});
  EXPECT_EQ(Built({a.Path(), b.Path()}), expected);
  EXPECT_EQ(Built({b.Path(), a.Path()}), expected);
}

TEST(TimelineVolumes, OnlyRecordsInsideTheCutMakeRuns) {
  TempDir dir;
  VolumeBuilder a(dir.File("a.oxa"));
  a.AddRun(0, 10, 0, 1, 2, KindActivity);
  struct Cut {
    double from, to;
    std::vector<Expect> runs;
  } cuts[] = {{3, 7, {{2, KindActivity, 3, 7, 5}}},
              {3.5, 3.9, {}},
              {9, 1e9, {{2, KindActivity, 9, 9, 1}}}};
  for (const Cut& c : cuts) {
    TimelineOptions options;
    options.from = Sec(c.from);
    options.to = Sec(c.to);
    EXPECT_EQ(Built({a.Path()}, options), Runs(c.runs)) << c.from;
  }
}

// A recorder goes on writing while the runs are shown: each ReadOn reads
// only what came since, and the window's copy follows the changes.
TEST(TimelineVolumes, AGrowingVolumeIsReadOnFromWhereItWas) {
  TempDir dir;
  VolumeBuilder v(dir.File("v.oxa"));
  v.AddRun(0, 5, 0, 1);
  TimelineBuilder builder({v.Path()});
  TimelineRuns window;
  EXPECT_TRUE(builder.Step());
  EXPECT_FALSE(builder.Step());
  window.Apply(builder.TakeChanges());

  struct Growth {
    std::function<void()> write;
    std::int64_t entries;
    bool dropped;
    std::vector<Expect> runs;
  } steps[] = {
      {[&] { v.AddRun(0, 3, 5, 1); }, 3, false, {{0, KindContinuous, 0, 7, 8}}},
      {[] {}, 0, false, {{0, KindContinuous, 0, 7, 8}}},
      {[&] { v.AddRun(1, 2, 20, 1); }, 2, false,
       {{0, KindContinuous, 0, 7, 8}, {0, KindContinuous, 20, 21, 2}}},
      // The head drops two records: they stay in the runs, and it is said.
      {[&] { v.SetLive(0, 2, 8); }, 0, true,
       {{0, KindContinuous, 0, 7, 8}, {0, KindContinuous, 20, 21, 2}}},
  };
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    steps[i].write();
    const ReadOnResult r = builder.ReadOn();
    EXPECT_EQ(r.entries, steps[i].entries) << i;
    EXPECT_EQ(r.dropped, steps[i].dropped) << i;
    window.Apply(builder.TakeChanges());
    EXPECT_EQ(builder.Runs().Ordered(), Runs(steps[i].runs)) << i;
    EXPECT_EQ(window.Ordered(), Runs(steps[i].runs)) << i;
  }
  EXPECT_EQ(builder.EntriesRead(), 10);
}

}  // namespace
