// Liveness on damaged volumes: every walk ends. A step moves strictly on in
// its direction or fails; it never hands out again a record that the walk
// already handed out.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <set>
#include <tuple>

#include "tests/archive/ReaderRig.h"

namespace {

using namespace orxtest;

struct Walked {
  std::vector<double> times;
  bool ended = false;        // a step returned false before the bound
  bool repeated = false;     // a record came twice
  bool outOfOrder = false;   // time went against the direction
};

class ReaderLiveness : public ReaderRig {
 protected:
  // Steps until a step fails, at most bound times.
  Walked Walk(bool forward, int bound = 200) {
    Walked w;
    std::set<std::tuple<std::string, int, std::int32_t>> seen;
    for (int i = 0; i < bound; ++i) {
      const StepResult r = Step(forward);
      if (!r.ok) {
        w.ended = true;
        break;
      }
      if (!w.times.empty() && (forward ? r.time < w.times.back() : r.time > w.times.back()))
        w.outOfOrder = true;
      w.times.push_back(r.time);
      if (!seen.emplace(reader_.FileName(), reader_.ActiveRing(), reader_.EntryPos()).second)
        w.repeated = true;
    }
    return w;
  }
  void ExpectWalksToBothEnds(double first, double last, const std::string& what) {
    ASSERT_TRUE(reader_.Open()) << what;
    ASSERT_GE(SetPos(first, Back), 0) << what;
    Walked w = Walk(true);
    EXPECT_TRUE(w.ended) << what;
    EXPECT_FALSE(w.repeated) << what;
    EXPECT_FALSE(w.outOfOrder) << what;
    EXPECT_EQ(reader_.CurrentTime(), last) << what;

    ASSERT_GE(SetPos(last, Fwd), 0) << what;
    w = Walk(false);
    EXPECT_TRUE(w.ended) << what;
    EXPECT_FALSE(w.repeated) << what;
    EXPECT_FALSE(w.outOfOrder) << what;
    EXPECT_EQ(reader_.CurrentTime(), first) << what;
  }
};

// Far from day 0 adding a tenth of a second changes nothing: the step at the
// archive's end must still find nothing instead of the same record.
TEST_F(ReaderLiveness, RecordsSoLateOrEarlyThatTheGapIsLostEndTheWalk) {
  for (double far : {2e10, 1.7e10, 4.5e15, -2e10}) {
    list_.clear();
    VolumeBuilder& v = AddVolume("far.oxa");
    if (far < 0) v.Add(0, far);
    v.AddRun(0, 4, 0, 1);
    if (far > 0) v.Add(0, far);
    ExpectWalksToBothEnds(far < 0 ? far : Sec(0), far > 0 ? far : Sec(3),
                          "far " + std::to_string(far));
  }
}

// Ring 1 holds 0..4 s, ring 0 holds 10..19 s with one slot out of order.
// Without care the forward step from that slot re-finds the ring one slot
// before it and steps back onto it, and the backward steps swing between two
// slots.
TEST_F(ReaderLiveness, OneSlotOutOfOrderLetsBothWalksEnd) {
  for (double bad : {7.0, 2.5, 10.5, 16.5, 30.0}) {
    for (int slot = 1; slot <= 8; ++slot) {
      list_.clear();
      VolumeBuilder& v = AddVolume("v.oxa");
      v.AddRun(1, 5, 0, 1);
      for (int i = 0; i < 10; ++i) v.Add(0, Sec(i == slot ? bad : 10 + i));
      if (bad == 30.0) v.AddRun(1, 1, 30, 1);  // keeps 30 s within the seen times
      ExpectWalksToBothEnds(Sec(0), bad == 30.0 ? Sec(30) : Sec(19),
                            "time " + std::to_string(bad) + " in slot " + std::to_string(slot));
    }
  }
}

// A sparse file whose rings are full of zero slots: every record at time 0.
TEST_F(ReaderLiveness, FullRingsOfZeroSlotsEndTheWalk) {
  VolumeBuilder& v = AddVolume("zeros.oxa", 64 * 1024);
  v.SetLive(0, 0, v.Geometry().MaxEntriesPerRing());
  v.SetLive(1, 0, v.Geometry().MaxEntriesPerRing());
  ASSERT_TRUE(reader_.Open());
  ASSERT_GE(SetPos(0.0, Back), 0);
  const int slots = int(2 * v.Geometry().MaxEntriesPerRing());
  Walked w = Walk(true, slots + 1);
  EXPECT_TRUE(w.ended);
  EXPECT_FALSE(w.repeated);
  ASSERT_GE(SetPos(0.0, Fwd), 0);
  w = Walk(false, slots + 1);
  EXPECT_TRUE(w.ended);
  EXPECT_FALSE(w.repeated);
}

// Stepping forward and back keeps working in between: a step in the other
// direction starts a new walk from the current record.
TEST_F(ReaderLiveness, ADamagedSlotIsPassedInBothDirectionsAfterTurning) {
  VolumeBuilder& v = AddVolume("v.oxa");
  v.AddRun(1, 5, 0, 1);
  for (int i = 0; i < 10; ++i) v.Add(0, Sec(i == 3 ? 7 : 10 + i));
  ASSERT_TRUE(reader_.Open());
  ASSERT_EQ(SetPos(Sec(14), Back), 1);
  ASSERT_EQ(Prev().time, Sec(7));  // backward in time: handed out
  const StepResult on = Next();
  ASSERT_TRUE(on.ok);
  EXPECT_EQ(on.time, Sec(14));
  EXPECT_EQ(Next().time, Sec(15));
}

// Opening a FIFO for reading waits for a writer; the reader must pass it
// over like any other file that is not a volume. Run in a child process that
// an alarm ends, so a reader that waits fails the test instead of hanging.
TEST_F(ReaderLiveness, OpenPassesOverAFifoWithoutWaiting) {
  ASSERT_EQ(mkfifo(dir_.File("pipe.oxa").c_str(), 0600), 0);
  AddPath("pipe.oxa");
  AddVolume("v.oxa").AddRun(0, 3, 0, 1);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    alarm(60);
    double t = Sec(0);
    _exit(reader_.Open() && reader_.SetPosition(t, Back) == 1 ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "the reader waited on the FIFO";
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
