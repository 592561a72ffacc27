// Next and Previous: steps within a ring, the moves by time across rings and
// volumes, the masks, and the ends of the archive.
#include "tests/archive/ReaderRig.h"

namespace {

using namespace orxtest;

constexpr double OneSec = 1.0 / 86400.0;

class ReaderStep : public ReaderRig {
 protected:
  // One volume, ring 0: ten records at 0..9 s, cameras 0..9, kinds cycling.
  VolumeBuilder& TenRecords() {
    VolumeBuilder& v = AddVolume("v.oxa");
    for (int i = 0; i < 10; ++i) v.Add(0, Sec(i), i, 1 << (i % 4));
    return v;
  }
};

TEST_F(ReaderStep, NextHandsOutTheFrameBytesOfAWantedRecord) {
  VolumeBuilder& v = TenRecords();
  ASSERT_TRUE(reader_.Open());
  ASSERT_EQ(SetPos(Sec(4), Back), 1);
  const StepResult r = Next();
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.time, Sec(5));
  EXPECT_EQ(r.camera, 5u);
  EXPECT_EQ(r.kinds, 2u);
  EXPECT_EQ(r.bytes, v.PayloadOf(5));
}

TEST_F(ReaderStep, UnwantedRecordsAreReachedWithAnEmptyStream) {
  TenRecords();
  ASSERT_TRUE(reader_.Open());
  ASSERT_EQ(SetPos(Sec(4), Back), 1);
  StepResult r = Next(1, ~CameraBit(5));
  EXPECT_TRUE(r.ok);
  EXPECT_TRUE(r.bytes.empty());
  EXPECT_EQ(r.camera, 5u);
  EXPECT_EQ(r.time, Sec(5));
  r = Next(1, AllCameras, KindActivity);  // record 6 is motion only
  EXPECT_TRUE(r.ok);
  EXPECT_TRUE(r.bytes.empty());
  EXPECT_EQ(r.kinds, KindMotion);
  r = Next(1, CameraBit(7), KindMotionHistory);
  EXPECT_TRUE(r.ok);
  EXPECT_FALSE(r.bytes.empty());
}

TEST_F(ReaderStep, CamerasOutsideTheMaskRangeAreNeverWanted) {
  VolumeBuilder& v = AddVolume("v.oxa");
  v.Add(0, Sec(0), 0);
  v.Add(0, Sec(1), 32);
  v.Add(0, Sec(2), -1);
  v.Add(0, Sec(3), 1000000);
  ASSERT_TRUE(reader_.Open());
  ASSERT_EQ(SetPos(Sec(0), Back), 1);
  const std::uint32_t expected[] = {32u, 0xFFFFFFFFu, 1000000u};
  for (std::uint32_t camera : expected) {
    const StepResult r = Next(1, AllCameras);
    EXPECT_TRUE(r.ok);
    EXPECT_TRUE(r.bytes.empty());
    EXPECT_EQ(r.camera, camera);
  }
}

TEST_F(ReaderStep, ACountPastTheRingEndStopsOnItsLastEntry) {
  TenRecords();
  ASSERT_TRUE(reader_.Open());
  ASSERT_EQ(SetPos(Sec(2), Back), 1);
  EXPECT_EQ(Next(5).time, Sec(7));
  EXPECT_EQ(Next(100).time, Sec(9));
  EXPECT_EQ(Prev(3).time, Sec(6));
  EXPECT_EQ(Prev(100).time, Sec(0));
}

TEST_F(ReaderStep, CountZeroMovesNextByTimeAndKeepsPrevious) {
  TenRecords();
  ASSERT_TRUE(reader_.Open());
  ASSERT_EQ(SetPos(Sec(5), Back), 1);
  double expected = 0;
  ASSERT_EQ(SetPos(reader_.CurrentTime() + StepGap, Fwd, &expected), 1);
  ASSERT_EQ(SetPos(Sec(5), Back), 1);
  EXPECT_EQ(Next(0).time, expected);
  EXPECT_GT(expected, reader_.CurrentTime() - 2 * OneSec);
  const StepResult again = Prev(0);
  EXPECT_EQ(again.time, expected);
  EXPECT_FALSE(again.bytes.empty());
}

TEST_F(ReaderStep, PreviousZeroFromTheSecondEntryMovesByTime) {
  TenRecords();
  ASSERT_TRUE(reader_.Open());
  ASSERT_EQ(SetPos(Sec(0), Back), 1);
  ASSERT_EQ(Next().time, Sec(1));
  EXPECT_EQ(Prev(0).time, Sec(0));  // 0.9 s backward finds the first entry
}

TEST_F(ReaderStep, TheEndsOfTheArchiveStopTheStepAndKeepThePosition) {
  TenRecords();
  ASSERT_TRUE(reader_.Open());
  ASSERT_EQ(SetPos(Sec(9), Fwd), 1);
  StepResult r = Next();
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.time, -12345.0);  // the caller's time stays
  EXPECT_EQ(reader_.CurrentTime(), Sec(9));
  EXPECT_EQ(Prev().time, Sec(8));

  ASSERT_EQ(SetPos(Sec(0), Back), 1);
  r = Prev();
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(reader_.CurrentTime(), Sec(0));
  EXPECT_EQ(Next().time, Sec(1));
}

TEST_F(ReaderStep, NextBeforeAnyPositionStartsFromThePresentTime) {
  VolumeBuilder& v = AddVolume("v.oxa");
  for (int i = -4; i <= 4; ++i) v.Add(0, clock_.Now() + i * OneSec);
  ASSERT_TRUE(reader_.Open());
  // No record was chosen yet: the step finds the first at or after the
  // present instead of reading a slot it never looked up.
  EXPECT_EQ(Next().time, clock_.Now());
  EXPECT_EQ(Next().time, clock_.Now() + OneSec);
}

// ---- Across rings and volumes ---------------------------------------------

// Ring 1 holds the older run (0..9 s), ring 0 the newer one starting at
// `start` — the state of a recorder that has wrapped once.
class ReaderRings : public ReaderRig {
 protected:
  VolumeBuilder& Wrapped(double startSecond) {
    VolumeBuilder& v = AddVolume("v.oxa");
    v.AddRun(1, 10, 0, 1);
    v.AddRun(0, 10, startSecond, 1);
    return v;
  }
  std::vector<double> WalkForward() {
    std::vector<double> times;
    for (int guard = 0; guard < 100; ++guard) {
      const StepResult r = Next();
      if (!r.ok) break;
      times.push_back(r.time);
    }
    return times;
  }
};

TEST_F(ReaderRings, AWalkGoesOnFromTheOlderRingToTheNewerWithoutPassingAny) {
  Wrapped(20);
  ASSERT_TRUE(reader_.Open());
  ASSERT_EQ(SetPos(Sec(0), Back), 1);
  std::vector<double> expected;
  for (int i = 1; i < 10; ++i) expected.push_back(Sec(i));
  for (int i = 0; i < 10; ++i) expected.push_back(Sec(20 + i));
  EXPECT_EQ(WalkForward(), expected);
  EXPECT_EQ(reader_.ActiveRing(), 0);
}

TEST_F(ReaderRings, PreviousFromASecondEntryReachesTheFirstHoweverClose) {
  VolumeBuilder& v = AddVolume("v.oxa");
  v.AddRun(1, 10, 0, 1);
  v.Add(0, Sec(20));
  v.Add(0, Sec(20.0625));
  v.AddRun(0, 5, 21, 1);
  ASSERT_TRUE(reader_.Open());
  ASSERT_EQ(SetPos(Sec(20.0625), Back), 1);
  ASSERT_EQ(Slot(v), 1);
  EXPECT_EQ(Prev().time, Sec(20));
  EXPECT_EQ(Prev().time, Sec(9));
  EXPECT_EQ(reader_.ActiveRing(), 1);
}

TEST_F(ReaderRings, NextCrossesIntoTheFollowingVolume) {
  VolumeBuilder& b = AddVolume("b.oxa");
  VolumeBuilder& a = AddVolume("a.oxa");
  a.AddRun(0, 4, 0, 1);
  b.AddRun(0, 4, 3.5, 1);  // starts half a second after a ends
  ASSERT_TRUE(reader_.Open());
  ASSERT_EQ(SetPos(Sec(0), Back), 1);
  std::vector<std::string> files;
  std::vector<double> times;
  for (int i = 0; i < 10; ++i) {
    const StepResult r = Next();
    if (!r.ok) break;
    times.push_back(r.time);
    files.push_back(reader_.FileName());
  }
  ASSERT_FALSE(times.empty());
  EXPECT_TRUE(std::is_sorted(times.begin(), times.end()));
  EXPECT_EQ(files.front(), a.Path());
  EXPECT_EQ(files.back(), b.Path());
  EXPECT_EQ(times.back(), Sec(6.5));
}

// Records of volumes that overlap in time are merged: every record once, in
// time order.
TEST_F(ReaderRings, OverlappingVolumesAreMergedInTimeOrder) {
  VolumeBuilder& a = AddVolume("a.oxa");
  VolumeBuilder& b = AddVolume("b.oxa");
  a.AddRun(0, 4, 0, 1);
  b.AddRun(0, 4, 2.5, 1);
  ASSERT_TRUE(reader_.Open());
  ASSERT_EQ(SetPos(Sec(0), Back), 1);
  const std::vector<double> expected = {Sec(1), Sec(2), Sec(2.5), Sec(3), Sec(3.5),
                                        Sec(4.5), Sec(5.5)};
  EXPECT_EQ(WalkForward(), expected);
}

}  // namespace

namespace {

using namespace orxtest;

class ReaderCost : public ReaderRig {};

// The reader holds no index: a step inside a ring costs the header, the two
// ends of every live ring and the entry, plus the frame when it is wanted.
TEST_F(ReaderCost, AStepInsideARingReadsOnlyTheHeaderRingEndsAndEntry) {
  VolumeBuilder& v = AddVolume("v.oxa");
  v.AddRun(0, 20, 0, 1, /*camera=*/3);
  ASSERT_TRUE(reader_.Open());
  ASSERT_EQ(SetPos(Sec(5), Back), 1);
  std::uint64_t before = reader_.ReadCount();
  ASSERT_TRUE(Next(1, CameraBit(4)).ok);
  EXPECT_EQ(reader_.ReadCount() - before, 4u);
  before = reader_.ReadCount();
  ASSERT_TRUE(Next(1, CameraBit(3)).ok);
  EXPECT_EQ(reader_.ReadCount() - before, 5u);

  v.AddRun(1, 5, 100, 1);
  before = reader_.ReadCount();
  ASSERT_TRUE(Next(1, CameraBit(4)).ok);
  EXPECT_EQ(reader_.ReadCount() - before, 6u);
}

}  // namespace

// A reader put on another's place in the walk steps as that one would,
// forward and backward, from inside a ring, from a ring's last entry and
// after records of one time; one that follows a closed reader stays as it
// was.
TEST_F(ReaderRings, AFollowerStepsAsItsLeaderWould) {
  VolumeBuilder& v = Wrapped(20);
  v.Add(0, Sec(29));  // a second record of the newest time
  struct Start {
    double time;
    SeekDirection direction;
    bool forward;
  };
  for (const Start& start : {Start{Sec(4), Fwd, true}, Start{Sec(9), Back, true},
                             Start{Sec(22), Back, false}, Start{Sec(29), Back, false},
                             Start{Sec(20), Fwd, false}}) {
    ASSERT_TRUE(reader_.Open());
    ASSERT_GE(SetPos(start.time, start.direction), 0);
    Next();  // a walk under way: its mark goes over with the place
    TOrxRead follower(list_);
    ASSERT_TRUE(follower.Follow(reader_));
    for (int i = 0; i < 14; ++i) {
      const StepResult led = Step(start.forward);
      std::uint32_t camera = AllCameras, kinds = KindAll;
      double time = -12345.0;
      FrameStream stream;
      const bool ok = start.forward ? follower.Next(1, camera, kinds, time, stream)
                                    : follower.Previous(1, camera, kinds, time, stream);
      ASSERT_EQ(ok, led.ok) << start.time << " step " << i;
      if (!ok) break;
      EXPECT_EQ(time, led.time);
      EXPECT_EQ(std::vector<std::uint8_t>(stream.Data(), stream.Data() + stream.Size()), led.bytes);
    }
  }
  reader_.Close();
  TOrxRead follower(list_);
  EXPECT_FALSE(follower.Follow(reader_));
  EXPECT_FALSE(follower.IsOpen());
}
