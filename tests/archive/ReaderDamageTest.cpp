// What the reader makes of damaged volumes: every case gets a result, and
// nothing outside the ring or the file is ever read or handed out.
#include "tests/archive/ReaderRig.h"

namespace {

using namespace orxtest;

constexpr double OneSec = 1.0 / 86400.0;

class ReaderFrame : public ReaderRig {
 protected:
  // Ring 0: records at 0..4 s; record 2 gets the given Offset and Length.
  VolumeBuilder& WithFrame(std::int64_t offset, std::int64_t length,
                           std::int64_t size = MinVolumeSize) {
    VolumeBuilder& v = AddVolume("v.oxa", size);
    v.AddRun(0, 5, 0, 1);
    IndexEntry e;
    e.Kind = KindContinuous;
    e.Time = Sec(2);
    e.Offset = static_cast<std::int32_t>(offset);
    e.Length = static_cast<std::int32_t>(length);
    v.PutEntry(0, 2, e);
    return v;
  }
  // Steps from record 0 onto record 2; the result of handing out its frame.
  StepResult OntoRecordTwo() {
    EXPECT_TRUE(reader_.Open());
    EXPECT_EQ(SetPos(Sec(0), Back), 1);
    return Next(2);
  }
};

TEST_F(ReaderFrame, LengthsOutsideOneHundredToOneMebibyteAreRefused) {
  const std::int64_t at = GeometryFor(MinVolumeSize).DataStart();
  struct Case {
    std::int64_t length;
    bool ok;
  } cases[] = {{99, false}, {100, true}, {-1, false}, {0, false}};
  for (const Case& c : cases) {
    list_.clear();
    WithFrame(at, c.length);
    EXPECT_EQ(OntoRecordTwo().ok, c.ok) << c.length;
  }
  // The largest frame needs a file big enough to hold it.
  list_.clear();
  WithFrame(at, MaxFrameLength, 3 * MinVolumeSize);
  EXPECT_TRUE(OntoRecordTwo().ok);
  list_.clear();
  WithFrame(at, MaxFrameLength + 1, 3 * MinVolumeSize);
  EXPECT_FALSE(OntoRecordTwo().ok);
}

TEST_F(ReaderFrame, AFrameRunningPastTheEndOfTheFileIsRefused) {
  for (std::int64_t over : {0, 1}) {
    list_.clear();
    WithFrame(MinVolumeSize - 500, 500 + over);
    EXPECT_EQ(OntoRecordTwo().ok, over == 0) << over;
  }
}

TEST_F(ReaderFrame, OffsetsThatOverflowOrPointBeforeTheFileAreRefused) {
  for (std::int64_t offset : {std::int64_t{-1000}, std::int64_t{0x7FFFFF00},
                              std::int64_t{-0x7FFFFFFF - 1}}) {
    list_.clear();
    WithFrame(offset, 0x1000);
    const StepResult r = OntoRecordTwo();
    EXPECT_FALSE(r.ok) << offset;
    EXPECT_EQ(r.time, -12345.0);
    EXPECT_TRUE(r.bytes.empty());
  }
}

TEST_F(ReaderFrame, ARefusedFrameStillMovesThePosition) {
  WithFrame(-1, 200);
  EXPECT_FALSE(OntoRecordTwo().ok);
  EXPECT_EQ(reader_.CurrentTime(), Sec(2));
  EXPECT_EQ(Next().time, Sec(3));
}

// ---- Times that cannot be handed out --------------------------------------

class ReaderTimes : public ReaderRig {};

TEST_F(ReaderTimes, AStaleEntryOutsideTheSeenRangeIsNotHandedOut) {
  for (double bad : {Sec(1000), Sec(-1000), std::nan("")}) {
    list_.clear();
    VolumeBuilder& v = AddVolume("v.oxa");
    v.AddRun(0, 10, 0, 1);
    IndexEntry e;
    e.Time = bad;
    e.Kind = KindContinuous;
    e.Offset = static_cast<std::int32_t>(v.Geometry().DataStart());
    e.Length = 200;
    v.PutEntry(0, 8, e);
    ASSERT_TRUE(reader_.Open());
    ASSERT_EQ(SetPos(Sec(0), Back), 1);
    const StepResult r = Next(8);
    EXPECT_FALSE(r.ok) << bad;
    EXPECT_EQ(r.time, -12345.0);
  }
}

TEST_F(ReaderTimes, ARingWhoseBoundaryTimeIsNotFiniteIsLeftOut) {
  VolumeBuilder& v = AddVolume("v.oxa");
  v.AddRun(0, 5, 0, 1);
  v.Add(1, Sec(10));
  v.Add(1, std::nan(""));
  v.Add(1, Sec(20));
  v.Add(1, std::numeric_limits<double>::infinity());
  ASSERT_TRUE(reader_.Open());
  double landed = 0;
  EXPECT_EQ(SetPos(Sec(100), Back, &landed), 1);
  EXPECT_EQ(landed, Sec(4));  // ring 0's last record
  double first = 0, last = 0;
  reader_.GetRange(first, last);
  EXPECT_EQ(last, Sec(4));
}

// ---- Damaged ring pointers ------------------------------------------------

class ReaderPointers : public ReaderRig {};

TEST_F(ReaderPointers, ARingWithUnusablePointersCountsAsEmpty) {
  const std::int64_t r = GeometryFor(MinVolumeSize).ringSize;
  const std::int64_t ring1 = 32 + r;
  struct Case {
    const char* what;
    std::int64_t head, tail;
  } cases[] = {
      {"head after tail", ring1 + 96, ring1 + 32},
      {"misaligned", ring1 + 4, ring1 + 100},
      {"in ring 0", 32, 32 + 5 * 32},
      {"past the ring", ring1, ring1 + r + 32},
      {"past the file", ring1, 0x7FFFFFE0},
      {"negative", -64, ring1 + 64},
  };
  for (const Case& c : cases) {
    list_.clear();
    VolumeBuilder& v = AddVolume("v.oxa");
    v.AddRun(0, 5, 0, 1);
    v.AddRun(1, 5, 100, 1);
    v.Header().Ring1Head = static_cast<std::int32_t>(c.head);
    v.Header().Ring1Tail = static_cast<std::int32_t>(c.tail);
    v.WriteHeader();
    ASSERT_TRUE(reader_.Open()) << c.what;
    double landed = 0;
    EXPECT_EQ(SetPos(Sec(100), Fwd, &landed), 0) << c.what;
    EXPECT_EQ(landed, Sec(4)) << c.what;  // clamped to ring 0
    EXPECT_EQ(reader_.ActiveRing(), 0) << c.what;
  }
}

TEST_F(ReaderPointers, AHeadAdvancedPastStaleSlotsHidesThem) {
  VolumeBuilder& v = AddVolume("v.oxa");
  v.AddRun(0, 10, 0, 1);
  v.SetLive(0, 6, 10);  // slots 0..5 are stale
  ASSERT_TRUE(reader_.Open());
  double landed = 0;
  EXPECT_EQ(SetPos(Sec(-5), Back, &landed), 0);
  EXPECT_EQ(landed, Sec(6));
  EXPECT_FALSE(Prev().ok);
}

TEST_F(ReaderPointers, ARecordDroppedFromTheHeadIsFoundAgainByTime) {
  VolumeBuilder& v = AddVolume("v.oxa");
  v.AddRun(0, 40, 0, 1);
  ASSERT_TRUE(reader_.Open());
  ASSERT_EQ(SetPos(Sec(1), Back), 1);
  // A recorder drops 32 entries from the Head under the reader's feet: the
  // step goes on to the first record still there after the dropped one,
  // never through a dropped slot.
  v.SetLive(0, 32, 40);
  const StepResult r = Next();
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.time, Sec(32));
}

// ---- Short files and truncation -------------------------------------------

class ReaderTruncation : public ReaderRig {};

TEST_F(ReaderTruncation, AVolumeCutShortWhileOpenYieldsNoMoreFrames) {
  // The last frame lies in the final partial kilobyte: cutting inside it
  // keeps the geometry but leaves that frame past the end.
  const std::int64_t size = MinVolumeSize + 1000;
  VolumeBuilder& v = AddVolume("v.oxa", size);
  v.AddRun(0, 4, 0, 1);
  v.SetDataCursor(size - 200);
  v.Add(0, Sec(4));
  ASSERT_TRUE(reader_.Open());
  ASSERT_EQ(SetPos(Sec(2), Back), 1);
  v.Truncate(size - 100);
  EXPECT_TRUE(Next().ok);
  const StepResult cut = Next();
  EXPECT_FALSE(cut.ok);
  EXPECT_TRUE(cut.bytes.empty());

  // Cut to less than a header: nothing is found, nothing breaks.
  v.Truncate(20);
  EXPECT_FALSE(Prev().ok);
  double t = Sec(1);
  EXPECT_EQ(reader_.SetPosition(t, Back), 0);
  EXPECT_EQ(t, Sec(1));
}

TEST_F(ReaderTruncation, ACutThroughTheIndexEmptiesTheRings) {
  VolumeBuilder& v = AddVolume("v.oxa");
  v.AddRun(0, 5, 0, 1);
  ASSERT_TRUE(reader_.Open());
  ASSERT_EQ(SetPos(Sec(0), Back), 1);
  v.Truncate(1000);  // too small for any slot: the pointers lie outside
  EXPECT_FALSE(Next().ok);
  double t = Sec(0);
  EXPECT_EQ(reader_.SetPosition(t, Fwd), 0);
}

}  // namespace
