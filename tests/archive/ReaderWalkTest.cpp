// Walks and landings over ring and volume boundaries: every record once, in
// the walk order (time, then the volume's place in the list, then ring, then
// slot), both ways, however close the times across a boundary lie.
#include <algorithm>
#include <tuple>

#include "tests/archive/ReaderRig.h"

namespace {

using namespace orxtest;

constexpr double OneMs = 1.0 / 86400000.0;

struct Segment {
  int volume;  // which volume file (0, 1)
  int ring;
  std::vector<double> ms;  // record times in milliseconds after BaseDay
};

struct Layout {
  const char* name;
  std::vector<int> listed;  // the volume files in list order
  std::vector<Segment> segments;
};

std::vector<double> Run(double first, int count, double step = 100) {
  std::vector<double> ms;
  for (int i = 0; i < count; ++i) ms.push_back(first + i * step);
  return ms;
}

std::vector<double> Join(std::vector<double> a, const std::vector<double>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// Where a record lies: list index, ring, entry offset; and its time.
using Place = std::tuple<std::int64_t, int, std::int64_t>;

class ReaderWalk : public ReaderRig, public ::testing::WithParamInterface<Layout> {
 protected:
  void SetUp() override {
    const Layout& layout = GetParam();
    std::vector<VolumeBuilder*> files(layout.listed.size());
    for (std::size_t i = 0; i < layout.listed.size(); ++i) {
      files[layout.listed[i]] = &AddVolume("v" + std::to_string(layout.listed[i]) + ".oxa");
      listIndex_[layout.listed[i]] = static_cast<std::int64_t>(i);
    }
    std::int64_t filled[2][2] = {};
    for (const Segment& s : layout.segments) {
      for (double ms : s.ms) {
        files[s.volume]->Add(s.ring, Ms(std::int64_t(ms)), int(records_.size() % 32));
        const std::int64_t slot = files[s.volume]->SlotOffset(s.ring, filled[s.volume][s.ring]++);
        records_.push_back({Ms(std::int64_t(ms)), Place{listIndex_[s.volume], s.ring, slot}});
      }
    }
    std::sort(records_.begin(), records_.end());
    ASSERT_TRUE(reader_.Open());
  }
  Place Where() const {
    std::int64_t index = -1;
    for (std::size_t i = 0; i < list_.size(); ++i)
      if (list_[i] == reader_.FileName()) index = std::int64_t(i);
    return Place{index, reader_.ActiveRing(), reader_.EntryPos()};
  }
  std::vector<Place> Walk(bool forward) {
    std::vector<Place> places{Where()};
    for (std::size_t guard = 0; guard <= records_.size(); ++guard) {
      const StepResult r = Step(forward);
      if (!r.ok) break;
      EXPECT_EQ(r.time, reader_.Entry().Time);
      places.push_back(Where());
    }
    return places;
  }
  std::vector<Place> Expected(bool forward) const {
    std::vector<Place> places;
    for (const auto& [time, place] : records_) places.push_back(place);
    if (!forward) std::reverse(places.begin(), places.end());
    return places;
  }

  std::int64_t listIndex_[2] = {};
  std::vector<std::pair<double, Place>> records_;  // in walk order once sorted
};

TEST_P(ReaderWalk, ReachesEveryRecordOnceInBothDirections) {
  ASSERT_EQ(SetPos(records_.front().first, Fwd), 1);
  EXPECT_EQ(Walk(true), Expected(true));
  EXPECT_EQ(reader_.CurrentTime(), records_.back().first);
  ASSERT_EQ(SetPos(records_.back().first, Back), 1);
  EXPECT_EQ(Walk(false), Expected(false));
}

TEST_P(ReaderWalk, LandsOnTheFirstRecordAtOrAfterAndTheLastAtOrBefore) {
  for (const auto& [time, place] : records_) {
    for (double at : {time - OneMs, time, time + OneMs}) {
      const auto firstAtOrAfter = std::find_if(records_.begin(), records_.end(),
                                               [&](const auto& r) { return r.first >= at; });
      const auto lastAtOrBefore = std::find_if(records_.rbegin(), records_.rend(),
                                               [&](const auto& r) { return r.first <= at; });
      if (firstAtOrAfter != records_.end()) {
        double landed = at;
        EXPECT_EQ(SetPos(at, Fwd, &landed), 1);
        EXPECT_EQ(Where(), firstAtOrAfter->second);
        EXPECT_EQ(landed, firstAtOrAfter->first);
      }
      if (lastAtOrBefore != records_.rend()) {
        EXPECT_EQ(SetPos(at, Back), 1);
        EXPECT_EQ(Where(), lastAtOrBefore->second);
      }
    }
  }
}

// Ring 1 holds the older records and ring 0 the newer, as after a wrap; the
// second volume file is listed first where the name says "listed backwards".
INSTANTIATE_TEST_SUITE_P(
    Boundaries, ReaderWalk,
    ::testing::Values(
        Layout{"RingsMeetAtOneTime", {0}, {{0, 1, Run(0, 10)}, {0, 0, Run(900, 10)}}},
        Layout{"Rings1MsApart", {0}, {{0, 1, Run(0, 10)}, {0, 0, Run(901, 10)}}},
        Layout{"Rings50MsApart", {0}, {{0, 1, Run(0, 10)}, {0, 0, Run(950, 10)}}},
        Layout{"EqualTimesAcrossRings",
               {0},
               {{0, 1, Join(Run(0, 9), Run(900, 3, 0))},
                {0, 0, Join(Run(900, 3, 0), Run(1000, 5))}}},
        Layout{"VolumesMeetAtOneTime", {0, 1}, {{0, 0, Run(0, 10)}, {1, 0, Run(900, 10)}}},
        Layout{"VolumesMeetListedBackwards",
               {1, 0},
               {{0, 0, Run(0, 10)}, {1, 0, Run(900, 10)}}},
        Layout{"Volumes1MsApart", {0, 1}, {{0, 0, Run(0, 10)}, {1, 1, Run(901, 10)}}},
        Layout{"Volumes50MsApartListedBackwards",
               {1, 0},
               {{0, 0, Run(0, 10)}, {1, 0, Run(950, 10)}}},
        Layout{"EqualTimesAcrossVolumesListedBackwards",
               {1, 0},
               {{0, 0, Join(Run(0, 8), Run(800, 4, 0))}, {1, 0, Join(Run(800, 4, 0), Run(900, 8))}}},
        Layout{"RingAndVolumeBoundariesTogether",
               {0, 1},
               {{0, 1, Run(0, 5)}, {0, 0, Run(400, 6)}, {1, 0, Join({900}, Run(900, 5, 1))}}},
        Layout{"SingleRecordsAllAtOneTime",
               {1, 0},
               {{0, 0, {500}}, {0, 1, {500}}, {1, 0, {500}}, {1, 1, {500}}}},
        Layout{"OverlappingVolumesAreMerged",
               {0, 1},
               {{0, 0, Run(0, 10, 200)}, {1, 0, Run(100, 10, 200)}}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
