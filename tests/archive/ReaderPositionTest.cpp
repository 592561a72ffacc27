// Open, SetPosition and the choice of volume: where the reader lands.
#include "tests/archive/ReaderRig.h"

namespace {

using namespace orxtest;

class ReaderOpen : public ReaderRig {};
class ReaderLanding : public ReaderRig {};
class ReaderSeek : public ReaderRig {};

// ---- Open -----------------------------------------------------------------

TEST_F(ReaderOpen, EmptyListFailsAndLeavesTheReaderClosed) {
  EXPECT_FALSE(reader_.Open());
  EXPECT_FALSE(reader_.IsOpen());
  double t = Sec(1);
  EXPECT_EQ(reader_.SetPosition(t, Fwd), -1);
  EXPECT_FALSE(Next().ok);
}

TEST_F(ReaderOpen, ListWithoutAnyVolumeFails) {
  WriteFile(dir_.File("short"), {0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77});
  MakeFile(dir_.File("zeros"), MinVolumeSize);
  AddPath("short");
  AddPath("zeros");
  AddPath("missing");
  EXPECT_FALSE(reader_.Open());
  EXPECT_FALSE(reader_.IsOpen());
  double t = Sec(1);
  EXPECT_EQ(reader_.SetPosition(t, Fwd), -1);
}

TEST_F(ReaderOpen, VolumesWithEmptyRingsOpenButPositionNowhere) {
  AddVolume("a.oxa");
  AddVolume("b.oxa");
  ASSERT_TRUE(reader_.Open());
  for (SeekDirection d : {Fwd, Back}) {
    double t = Sec(5);
    EXPECT_EQ(reader_.SetPosition(t, d), 0);
    EXPECT_EQ(t, Sec(5));
  }
  EXPECT_FALSE(Next().ok);
}

TEST_F(ReaderOpen, NonVolumeFilesAmongVolumesAreSkipped) {
  WriteFile(dir_.File("tiny"), {1, 2, 3});
  MakeFile(dir_.File("junk.oxa"), MinVolumeSize, 0x5A);
  std::filesystem::create_directory(dir_.File("folder"));
  AddPath("tiny");
  AddPath("missing.oxa");
  AddPath("folder");
  VolumeBuilder& v = AddVolume("v.oxa");
  AddPath("junk.oxa");
  v.AddRun(0, 5, 10, 1);
  ASSERT_TRUE(reader_.Open());
  double t = Sec(12);
  EXPECT_EQ(reader_.SetPosition(t, Back), 1);
  EXPECT_EQ(t, Sec(12));
  EXPECT_EQ(reader_.FileName(), v.Path());
}

TEST_F(ReaderOpen, AnyFileWithTheMagicIsAVolume) {
  // 2048 bytes: rings of two slots each, one of them usable.
  VolumeBuilder& v = AddVolume("small.oxa", 2048);
  v.Add(0, Sec(3));
  ASSERT_TRUE(reader_.Open());
  double t = Sec(0);
  EXPECT_EQ(reader_.SetPosition(t, Fwd), 1);
  EXPECT_EQ(t, Sec(3));
}

// ---- Landing within a ring -----------------------------------------------

// Forward lands on the first record at or after the time, backward on the
// last at or before it; equal times count as one place, whatever the ring's
// length.
TEST_F(ReaderLanding, LandsOnTheFirstAtOrAfterAndTheLastAtOrBefore) {
  // Seconds of a ring's records; 2 s three times.
  const double times[] = {0, 1, 2, 2, 2, 3, 5, 8};
  struct Row {
    double at;
    int forwardSlot, backwardSlot;  // -1: none in that direction
  } rows[] = {{-1, 0, -1}, {0, 0, 0},  {0.5, 1, 0}, {2, 2, 4}, {2.001, 5, 4},
              {4, 6, 5},   {7.999, 7, 6}, {8, 7, 7},  {9, -1, 7}};
  for (int n : {1, 2, 5, 8}) {  // the first n records only
    list_.clear();
    VolumeBuilder& v = AddVolume("n" + std::to_string(n) + ".oxa");
    for (int i = 0; i < n; ++i) v.Add(0, Sec(times[i]));
    ASSERT_TRUE(reader_.Open());
    for (const Row& row : rows) {
      for (SeekDirection d : {Fwd, Back}) {
        int slot = d == Fwd ? row.forwardSlot : row.backwardSlot;
        // Records past the first n are not there: forward finds none of
        // them, backward the last that is.
        if (slot >= n) slot = d == Fwd ? -1 : n - 1;
        double landed = 0;
        const int r = SetPos(Sec(row.at), d, &landed);
        SCOPED_TRACE("n=" + std::to_string(n) + " at " + std::to_string(row.at) +
                     (d == Fwd ? " forward" : " backward"));
        if (slot < 0) {  // clamped to the record at the far end
          EXPECT_EQ(r, 0);
          EXPECT_EQ(Slot(v), d == Fwd ? n - 1 : 0);
        } else {
          EXPECT_EQ(r, 1);
          EXPECT_EQ(Slot(v), slot);
          EXPECT_EQ(landed, Sec(times[slot]));
        }
      }
    }
  }
}

TEST_F(ReaderLanding, ARingOfOneEntryIsFoundBothWays) {
  VolumeBuilder& v = AddVolume("v.oxa");
  v.Add(1, Sec(7));
  ASSERT_TRUE(reader_.Open());
  for (SeekDirection d : {Fwd, Back}) {
    double landed = 0;
    EXPECT_EQ(SetPos(Sec(7), d, &landed), 1);
    EXPECT_EQ(landed, Sec(7));
    EXPECT_EQ(reader_.ActiveRing(), 1);
  }
}

TEST_F(ReaderLanding, OverlappingRingsLandOnTheNearestRecordOfEither) {
  VolumeBuilder& v = AddVolume("v.oxa");
  v.AddRun(0, 10, 0, 1);
  v.AddRun(1, 10, 0.5, 1);
  ASSERT_TRUE(reader_.Open());
  double landed = 0;
  EXPECT_EQ(SetPos(Sec(4.25), Back, &landed), 1);
  EXPECT_EQ(landed, Sec(4));
  EXPECT_EQ(reader_.ActiveRing(), 0);
  EXPECT_EQ(SetPos(Sec(4.25), Fwd, &landed), 1);
  EXPECT_EQ(landed, Sec(4.5));
  EXPECT_EQ(reader_.ActiveRing(), 1);
}

// ---- Before and after the archive ----------------------------------------

class ReaderClamp : public ReaderRig {
 protected:
  // Two volumes: a holds 0..9 s, b (listed first) holds 20..29 s.
  void SetUp() override {
    b_ = &AddVolume("b.oxa");
    a_ = &AddVolume("a.oxa");
    a_->AddRun(0, 10, 0, 1);
    b_->AddRun(1, 10, 20, 1);
    ASSERT_TRUE(reader_.Open());
  }
  VolumeBuilder* a_ = nullptr;
  VolumeBuilder* b_ = nullptr;
};

TEST_F(ReaderClamp, ForwardBeforeTheArchiveLandsOnItsFirstRecord) {
  double landed = 0;
  EXPECT_EQ(SetPos(Sec(-100), Fwd, &landed), 1);
  EXPECT_EQ(reader_.FileName(), a_->Path());
  EXPECT_EQ(landed, Sec(0));
  double first = 0, last = 0;
  reader_.GetRange(first, last);
  EXPECT_EQ(first, Sec(0));
  EXPECT_EQ(last, Sec(29));
}

TEST_F(ReaderClamp, BackwardBeforeTheArchiveClampsToTheEarliestRecord) {
  double landed = 0;
  EXPECT_EQ(SetPos(Sec(-100), Back, &landed), 0);
  EXPECT_EQ(landed, Sec(0));
  EXPECT_EQ(reader_.CurrentTime(), Sec(0));
}

TEST_F(ReaderClamp, BackwardAfterTheArchiveLandsOnItsLastRecord) {
  double landed = 0;
  EXPECT_EQ(SetPos(Sec(500), Back, &landed), 1);
  EXPECT_EQ(reader_.FileName(), b_->Path());
  EXPECT_EQ(landed, Sec(29));
}

TEST_F(ReaderClamp, ForwardAfterTheArchiveClampsToTheLatestRecord) {
  double landed = 0;
  EXPECT_EQ(SetPos(Sec(500), Fwd, &landed), 0);
  EXPECT_EQ(landed, Sec(29));
  EXPECT_EQ(reader_.EntryPos(), b_->SlotOffset(1, 9));
}

TEST_F(ReaderClamp, AGapBetweenVolumesIsCrossedInTheDirectionAsked) {
  double landed = 0;
  EXPECT_EQ(SetPos(Sec(15), Fwd, &landed), 1);
  EXPECT_EQ(landed, Sec(20));
  EXPECT_EQ(SetPos(Sec(15), Back, &landed), 1);
  EXPECT_EQ(landed, Sec(9));
  EXPECT_EQ(reader_.FileName(), a_->Path());
}

TEST_F(ReaderClamp, FailureLeavesTheCallersTimeAlone) {
  reader_.Close();
  double t = Sec(3);
  EXPECT_EQ(reader_.SetPosition(t, Fwd), -1);
  EXPECT_EQ(t, Sec(3));
  ASSERT_TRUE(reader_.Open());
  t = std::nan("");
  EXPECT_EQ(reader_.SetPosition(t, Fwd), 0);
  EXPECT_TRUE(std::isnan(t));
}

// ---- Choice of volume -----------------------------------------------------

TEST_F(ReaderSeek, EqualStartTimesGoToTheVolumeListedFirst) {
  VolumeBuilder& first = AddVolume("first.oxa");
  VolumeBuilder& second = AddVolume("second.oxa");
  second.AddRun(0, 5, 10, 1);
  first.AddRun(1, 5, 10, 2);
  ASSERT_TRUE(reader_.Open());
  EXPECT_EQ(SetPos(Sec(0), Fwd), 1);
  EXPECT_EQ(reader_.FileName(), first.Path());
}

// Among equal times the volume listed later comes later in the walk, so a
// backward landing takes its record.
TEST_F(ReaderSeek, EqualEndTimesGoBackwardToTheVolumeListedLast) {
  VolumeBuilder& first = AddVolume("first.oxa");
  VolumeBuilder& second = AddVolume("second.oxa");
  for (double t : {Sec(6), Sec(7), Sec(10)}) first.Add(0, t);
  for (double t : {Sec(2), Sec(4), Sec(10)}) second.Add(0, t);
  ASSERT_TRUE(reader_.Open());
  EXPECT_EQ(SetPos(Sec(50), Back), 1);
  EXPECT_EQ(reader_.FileName(), second.Path());
}

TEST_F(ReaderSeek, TheNearestVolumeInTheDirectionWinsWhateverTheListOrder) {
  VolumeBuilder& late = AddVolume("late.oxa");
  VolumeBuilder& early = AddVolume("early.oxa");
  VolumeBuilder& middle = AddVolume("middle.oxa");
  late.AddRun(0, 4, 300, 1);
  early.AddRun(0, 4, 100, 1);
  middle.AddRun(1, 4, 200, 1);
  ASSERT_TRUE(reader_.Open());
  EXPECT_EQ(SetPos(Sec(150), Fwd), 1);
  EXPECT_EQ(reader_.FileName(), middle.Path());
  EXPECT_EQ(SetPos(Sec(250), Back), 1);
  EXPECT_EQ(reader_.FileName(), middle.Path());
  EXPECT_EQ(SetPos(Sec(250), Fwd), 1);
  EXPECT_EQ(reader_.FileName(), late.Path());
}

TEST_F(ReaderSeek, OpenLeavesTheVolumeHoldingThePresentOpen) {
  VolumeBuilder& past = AddVolume("past.oxa");
  VolumeBuilder& now = AddVolume("now.oxa");
  past.AddRun(0, 3, 0, 1);
  for (double t : {clock_.Now() - 0.5, clock_.Now(), clock_.Now() + 0.5}) now.Add(0, t);
  ASSERT_TRUE(reader_.Open());
  EXPECT_EQ(reader_.FileName(), now.Path());
}

}  // namespace
