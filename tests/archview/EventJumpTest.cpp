// The jumps to the next and previous event: the start of a run of activity
// or motion of a visible camera whose kind the boxes let through, strictly
// after or before the position, inside the interval; a beep when there is
// none. Stopped, the pictures at the new position are shown.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "ArchRig.h"
#include "archview/EventJump.h"
#include "archview/PlaybackState.h"
#include "archview/TimelineStrip.h"

namespace archtest {
namespace {

// Camera 1 motion 10..20 s and 100..110 s, camera 2 activity 50..60 s,
// camera 3 motion history 70..75 s, camera 4 continuous 0..140 s, each a
// record a second (cameras as the window numbers them).
std::vector<Record> Incidents() {
  std::vector<Record> records;
  const auto run = [&](int camera, std::int32_t kind, int from, int to) {
    for (int s = from; s <= to; ++s) records.push_back({ArchRig::At(s), camera - 1, kind});
  };
  run(4, KindContinuous, 0, 140);
  run(1, KindMotion, 10, 20);
  run(2, KindActivity, 50, 60);
  run(3, KindMotionHistory, 70, 75);
  run(1, KindMotion, 100, 110);
  std::sort(records.begin(), records.end(),
            [](const Record& a, const Record& b) { return a.time < b.time; });
  return records;
}

enum class How { Button, Key };

struct JumpRow {
  const char* name;
  double at;         // seconds: the position before the jump
  bool forward;
  int hiddenCamera;  // a camera whose cell is hidden, 0 for none
  std::uint32_t kinds;
  double expected;  // seconds; < 0: a beep and no move
  How how = How::Button;
  double intervalEnd = 140;
};

class EventJumpRule : public ::testing::TestWithParam<JumpRow> {};

TEST_P(EventJumpRule, GoesToTheStartOfTheEventOrBeeps) {
  const JumpRow& row = GetParam();
  ArchRig rig;
  rig.AddVolume(Incidents());
  TArchView& w = rig.ShowStill();
  rig.WaitForTimeline();
  if (row.hiddenCamera > 0) w.SwapCells(row.hiddenCamera - 1, 30);  // cell 30 is hidden
  const std::pair<QCheckBox*, std::uint32_t> boxes[] = {{w.TimerRecBox, KindContinuous},
                                                       {w.ActiveRecBox, KindActivity},
                                                       {w.MoveRecBox, KindMotion},
                                                       {w.HistRecBox, KindMotionHistory}};
  for (const auto& [box, kind] : boxes) box->setChecked((row.kinds & kind) != 0);
  w.TimerRecBoxClick();
  w.SetIntervalEnd(ArchRig::At(row.intervalEnd));
  w.MoveToTime(ArchRig::At(row.at));
  const std::size_t hintsBefore = rig.Hints().shown.size();

  if (row.how == How::Key) {
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(&w, row.forward ? Qt::Key_Right : Qt::Key_Left, Qt::ControlModifier);
  } else {
    (row.forward ? w.TimelineStrip->NextEventBtn : w.TimelineStrip->PreviousEventBtn)->click();
  }

  if (row.expected < 0) {
    EXPECT_EQ(rig.PlatformScript().beeps, 1);
    EXPECT_EQ(PlaybackTime, ArchRig::At(row.at));
    EXPECT_EQ(rig.Hints().shown.size(), hintsBefore);
  } else {
    EXPECT_EQ(rig.PlatformScript().beeps, 0);
    EXPECT_EQ(PlaybackTime, ArchRig::At(row.expected));
    // Stopped: the pictures at the event are shown.
    EXPECT_GT(rig.Hints().shown.size(), hintsBefore);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Jumps, EventJumpRule,
    ::testing::Values(
        JumpRow{"NextFromTheStart", 0, true, 0, KindAll, 10},
        JumpRow{"NextIsStrictlyAfter", 10, true, 0, KindAll, 50},
        JumpRow{"HiddenCameraIsPassedOver", 10, true, 2, KindAll, 100},
        JumpRow{"KindBoxesChooseTheEvents", 0, true, 0, KindActivity, 50},
        JumpRow{"HistoryAndContinuousAreNoEvents", 20, true, 0,
                KindContinuous | KindMotionHistory, -1},
        JumpRow{"PreviousFromInsideARunGoesToItsStart", 15, false, 0, KindAll, 10},
        JumpRow{"PreviousIsStrictlyBefore", 50, false, 0, KindAll, 10},
        JumpRow{"PreviousPassesOverHidden", 120, false, 1, KindAll, 50},
        JumpRow{"NoEventLeftBeeps", 100, true, 0, KindAll, -1},
        JumpRow{"NoEventBeforeBeeps", 10, false, 0, KindAll, -1},
        JumpRow{"EventAfterTheIntervalIsOutOfReach", 20, true, 0, KindAll, -1, How::Button, 40},
        JumpRow{"CtrlRight", 20, true, 0, KindAll, 50, How::Key},
        JumpRow{"CtrlLeft", 55, false, 0, KindAll, 50, How::Key}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EventJump, DuringARunPlaybackGoesOnFromTheEvent) {
  ArchRig rig;
  rig.AddVolume(Incidents());
  TArchView& w = rig.ShowStill();
  rig.WaitForTimeline();
  w.RealTimeBtn->setChecked(false);
  w.SetIntervalEnd(ArchRig::At(104));
  rig.Hints().onShown = [&](int count) {
    if (count == 3) QTimer::singleShot(0, &w, [&] { w.TimelineStrip->NextEventBtn->click(); });
  };
  w.RightRunClick();
  // After the third frame the run went on from 10 s, and every later frame
  // lies after it.
  const auto& shown = rig.Hints().shown;
  ASSERT_GT(shown.size(), 5u);
  EXPECT_LT(shown[2].time, ArchRig::At(5));
  EXPECT_GE(shown[3].time, ArchRig::At(10));
  EXPECT_LE(shown[3].time, ArchRig::At(11));
}

}  // namespace
}  // namespace archtest
