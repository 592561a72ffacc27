// The engine over real volumes: the automatic start, the cycles of a run,
// what a step passes over, the interval end, freezing, nesting, speed, and
// runs that meet a closed or destroyed window.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSlider>
#include <QTimer>
#include <QToolButton>

#include "ArchRig.h"
#include "archview/PlaybackState.h"
#include "common/CameraMask.h"
#include "view/CellPanel.h"

namespace archtest {
namespace {

// Records 1 second apart from Base(), cameras 0..3 in turn: all on screen.
std::vector<Record> Uniform(int count, int cameras = 4) {
  return RoundRobin(ArchRig::Base(), count, cameras, 1.0);
}

std::vector<int> ShownIndexes(const ArchRig& rig, const std::vector<Shown>& shown) {
  std::vector<int> out;
  for (const Shown& s : shown) out.push_back(rig.IndexOf(s.time));
  return out;
}

TEST(PlaybackStart, RunsForwardByItselfFromIntervalStartToArchiveEnd) {
  ArchRig rig;
  rig.AddVolume(Uniform(20));
  TArchView& w = rig.Show();
  EXPECT_TRUE(rig.Hints().shown.empty());  // nothing before the queue is served
  const int start = rig.IndexOf(w.IntervalStart());
  EXPECT_EQ(start, 0);
  const int end = rig.IndexOf(w.IntervalEnd());
  EXPECT_EQ(end, 19);
  rig.ProcessEvents();

  // At real time, as every showing starts, every record from the first to
  // the interval end is shown.
  std::vector<int> expected;
  for (int i = start; i <= end; ++i) expected.push_back(i);
  EXPECT_EQ(ShownIndexes(rig, rig.Hints().shown), expected);
  EXPECT_EQ(rig.PlatformScript().beeps, 1);
  EXPECT_TRUE(StopRequested);
  EXPECT_TRUE(w.StopArch->isChecked());
  EXPECT_EQ(PlaybackTime, w.IntervalEnd());  // pulled back from the record after
}

// A control that moves the position during a run (a click on the position
// bar or the timeline, a jump to an event) lands on a record: the run goes
// on with that record, forward or backward, instead of past it.
TEST(PlaybackMove, ARunGoesOnWithTheRecordTheMoveLandedOn) {
  for (const bool forward : {true, false}) {
    for (const double target : {30.0, 29.5}) {
      ArchRig rig;
      rig.AddVolume(Uniform(60));
      TArchView& w = rig.ShowStill();
      if (!forward) w.RightRefreshBtnClick();
      rig.Hints().onShown = [&](int count) {
        if (count == 3) QTimer::singleShot(0, &w, [&] { w.MoveToTime(ArchRig::At(target)); });
        if (count == 5) QTimer::singleShot(0, &w, [&] { w.StopArch->click(); });
      };
      forward ? w.RightRunClick() : w.LeftRunClick();
      ASSERT_EQ(rig.Hints().shown.size(), 5u);
      // Going forward from 10 s to 29.5 s lands forward on 30 s; going
      // backward from 50 s, backward on 29 s.
      const int landing = target == 30.0 ? 30 : (forward ? 30 : 29);
      EXPECT_EQ(rig.IndexOf(rig.Hints().shown[3].time), landing) << forward << target;
      EXPECT_EQ(rig.IndexOf(rig.Hints().shown[4].time), landing + (forward ? 1 : -1));
    }
  }
}

TEST(PlaybackCycle, SixteenCellsMakeThirtyTwoStepsBetweenSkipsWithoutRealTime) {
  ArchRig rig;
  rig.AddVolume(Uniform(120), 4 * MinVolumeSize);
  TArchView& w = rig.Show();
  w.RealTimeBtn->setChecked(false);
  EXPECT_EQ(CameraMask, 0xFFFFu);
  EXPECT_EQ(SkipCount, 1);
  EXPECT_EQ(FrameDelay, 0);
  const int start = rig.IndexOf(w.IntervalStart());
  const int end = rig.IndexOf(w.IntervalEnd());
  rig.ProcessEvents();

  // Cycle k passes over record start + 33k (the first cycle over the record
  // the run starts on) and shows the 32 after it.
  std::vector<int> expected;
  for (int i = start; i <= end; ++i)
    if ((i - start) % 33 != 0) expected.push_back(i);
  EXPECT_EQ(ShownIndexes(rig, rig.Hints().shown), expected);
}

TEST(PlaybackStep, HiddenCellsHighCamerasAndUnwantedKindsArePassedOver) {
  ArchRig rig;
  std::vector<Record> records;
  const int cameras[] = {0, 20, 40, 1, 33, 2, 31, 3};
  for (int i = 0; i < 40; ++i) {
    Record r{ArchRig::At(i), cameras[i % 8], KindContinuous};
    if (i % 10 == 7) r.kind = KindMotionHistory;  // not in the mask at first
    records.push_back(r);
  }
  rig.AddVolume(records);
  rig.Show();
  rig.ProcessEvents();
  ASSERT_FALSE(rig.Hints().shown.empty());
  for (const Shown& s : rig.Hints().shown) {
    const Record& r = rig.Records()[rig.IndexOf(s.time)];
    EXPECT_LT(r.camera, 16) << s.hint.toStdString();
    EXPECT_NE(r.kind, static_cast<int>(KindMotionHistory));
    EXPECT_EQ(s.cell, r.camera);
  }
  EXPECT_EQ(rig.PlatformScript().beeps, 1);
}

TEST(PlaybackStep, NoVisibleCellReadsToTheEndShowingNothing) {
  ArchRig rig;
  rig.AddVolume(Uniform(30));
  TArchView& w = rig.ShowStill();
  for (TCellPanel* panel : w.CellPanels) panel->hide();
  w.LayoutChanged();
  EXPECT_EQ(CameraMask, 0u);
  w.SetIntervalEnd(ArchRig::At(100));
  w.RightRunClick();
  EXPECT_TRUE(rig.Hints().shown.empty());
  EXPECT_EQ(rig.PlatformScript().beeps, 1);
  EXPECT_EQ(PlaybackTime, rig.Records().back().time);  // read to the archive's end
}

TEST(PlaybackStep, RecordAfterIntervalEndIsNotShownAndPositionComesBack) {
  ArchRig rig;
  rig.AddVolume(Uniform(30));
  TArchView& w = rig.ShowStill();
  const double end = ArchRig::At(12.5);
  w.SetIntervalEnd(end);
  w.RightRunClick();
  ASSERT_FALSE(rig.Hints().shown.empty());
  EXPECT_EQ(rig.IndexOf(rig.Hints().shown.back().time), 12);
  EXPECT_EQ(rig.PlatformScript().beeps, 1);
  EXPECT_LE(PlaybackTime, end);
  EXPECT_GE(rig.IndexOf(PlaybackTime), 10);  // a record at or before the end
}

TEST(PlaybackStep, BackwardRunStopsAtIntervalStart) {
  ArchRig rig;
  rig.AddVolume(Uniform(30));
  TArchView& w = rig.ShowStill();
  w.SetIntervalStart(ArchRig::At(20));
  w.RightRefreshBtnClick();  // position at the last record
  w.LeftRunClick();
  ASSERT_FALSE(rig.Hints().shown.empty());
  for (const Shown& s : rig.Hints().shown) EXPECT_GE(s.time, ArchRig::At(20));
  EXPECT_EQ(rig.IndexOf(rig.Hints().shown.back().time), 20);
  EXPECT_GE(PlaybackTime, ArchRig::At(20));
  EXPECT_EQ(rig.PlatformScript().beeps, 1);
}

TEST(PlaybackStop, StopWhileStoppedStillBeeps) {
  ArchRig rig;
  rig.AddVolume(Uniform(10));
  TArchView& w = rig.ShowStill();
  w.StopArch->click();
  w.StopArch->click();
  EXPECT_EQ(rig.PlatformScript().beeps, 2);
  EXPECT_TRUE(w.StopArch->isChecked());
  EXPECT_FALSE(Frozen);
}

TEST(PlaybackFreeze, FreezeHoldsRunUntilReleased) {
  ArchRig rig;
  rig.AddVolume(Uniform(12));
  TArchView& w = rig.Show();
  int shownWhenFrozen = -1;
  int shownWhenReleased = -1;
  bool menuEnabledWhileFrozen = false;
  QString hintWhileFrozen;
  rig.Hints().onShown = [&](int count) {
    if (count != 2) return;
    w.StopBtn->click();  // freeze
    shownWhenFrozen = count;
    QTimer::singleShot(30, &w, [&] {
      shownWhenReleased = static_cast<int>(rig.Hints().shown.size());
      menuEnabledWhileFrozen = w.SaveItem->isEnabled() && w.PrintItem->isEnabled();
      hintWhileFrozen = w.StopBtn->toolTip();
      w.StopBtn->click();  // release
    });
  };
  rig.ProcessEvents();
  EXPECT_EQ(shownWhenFrozen, 2);
  EXPECT_EQ(shownWhenReleased, 2);  // nothing was shown while frozen
  EXPECT_TRUE(menuEnabledWhileFrozen);
  EXPECT_EQ(hintWhileFrozen, QStringLiteral("Продолжить"));
  EXPECT_GT(rig.Hints().shown.size(), 2u);  // and the run went on
  EXPECT_EQ(w.StopBtn->toolTip(), QStringLiteral("Остановить"));
  EXPECT_FALSE(w.SaveItem->isEnabled());
}

TEST(PlaybackFreeze, StopReleasesFreeze) {
  ArchRig rig;
  rig.AddVolume(Uniform(10));
  TArchView& w = rig.ShowStill();
  w.StopBtnClick();
  EXPECT_TRUE(Frozen);
  EXPECT_TRUE(w.StopBtn->isChecked());
  w.StopArchClick();
  EXPECT_FALSE(Frozen);
  EXPECT_FALSE(w.StopBtn->isChecked());
  EXPECT_FALSE(w.PrintItem->isEnabled());
}

TEST(PlaybackFreeze, ShowingAfterAFrozenCloseOffersToFreezeAgain) {
  ArchRig rig;
  rig.AddVolume(Uniform(10));
  TArchView& w = rig.ShowStill();
  w.StopBtnClick();
  w.close();
  rig.ShowStill();
  EXPECT_FALSE(Frozen);
  EXPECT_FALSE(w.StopBtn->isChecked());
  EXPECT_EQ(w.StopBtn->toolTip(), QStringLiteral("Остановить"));
}

TEST(PlaybackNesting, StepDuringRunShowsItsFrameAndEndsTheRun) {
  ArchRig rig;
  rig.AddVolume(Uniform(60));
  TArchView& w = rig.Show();
  bool stepped = false;
  rig.Hints().onShown = [&](int count) {
    if (count == 3)
      QTimer::singleShot(0, &w, [&] {
        w.RightStep->click();
        stepped = true;
      });
  };
  rig.ProcessEvents();
  ASSERT_TRUE(stepped);
  const auto& shown = rig.Hints().shown;
  ASSERT_EQ(shown.size(), 4u);
  EXPECT_EQ(rig.IndexOf(shown[3].time), rig.IndexOf(shown[2].time) + 1);
  EXPECT_EQ(rig.PlatformScript().beeps, 0);
  EXPECT_TRUE(StopRequested);
  EXPECT_TRUE(w.StopArch->isChecked());
}

TEST(PlaybackSpeed, BarMapsToSkipCountAndPauses) {
  ArchRig rig;
  rig.AddVolume(Uniform(10));
  TArchView& w = rig.ShowStill();
  EXPECT_EQ(SkipCount, 1);
  EXPECT_EQ(FrameDelay, 0);
  const int expected[][3] = {{100, 3200, 1}, {1, 32, 1}, {0, 0, 0}, {-1, 0, 1}, {-100, 0, 100}};
  for (const auto& row : expected) {
    w.SpeedBar->setValue(row[0]);
    EXPECT_EQ(SkipCount, row[1]) << row[0];
    EXPECT_EQ(FrameDelay, row[2]) << row[0];
  }
  EXPECT_EQ(w.SpeedBar->pageStep(), 62);
  EXPECT_EQ(w.SpeedBar->minimum(), -100);
  EXPECT_EQ(w.SpeedBar->maximum(), 100);
}

TEST(PlaybackSpeed, SlowestNonZeroSpeedShowsEveryRecordToTheEnd) {
  ArchRig rig;
  rig.AddVolume(Uniform(8));
  TArchView& w = rig.ShowStill();
  w.SpeedBar->setValue(-1);
  w.RightRunClick();
  const std::vector<int> shown = ShownIndexes(rig, rig.Hints().shown);
  ASSERT_FALSE(shown.empty());
  for (std::size_t i = 1; i < shown.size(); ++i) EXPECT_EQ(shown[i], shown[i - 1] + 1);
  EXPECT_EQ(shown.back(), rig.IndexOf(w.IntervalEnd()));
  EXPECT_EQ(rig.PlatformScript().beeps, 1);
}

TEST(PlaybackSpeed, FastestSpeedWithoutRealTimePassesOverThirtyTwoHundredRecordsPerCycle) {
  ArchRig rig;
  rig.AddVolume(RoundRobin(ArchRig::Base(), 3300, 1, 1.0), 8 * MinVolumeSize);
  TArchView& w = rig.ShowStill();
  for (int i = 1; i < 16; ++i) w.CellPanels[i]->hide();  // one camera: n = 1
  w.LayoutChanged();
  w.RealTimeBtn->setChecked(false);
  w.SpeedBar->setValue(100);
  const int start = rig.IndexOf(PlaybackTime);
  w.RightRunClick();
  // Cycle 1: skip 3200 (the record the run starts on the first of them),
  // two steps; cycle 2: the skip reaches the last record, the step finds
  // nothing more.
  ASSERT_EQ(rig.Hints().shown.size(), 2u);
  EXPECT_EQ(rig.IndexOf(rig.Hints().shown[0].time), start + 3200);
  EXPECT_EQ(rig.IndexOf(rig.Hints().shown[1].time), start + 3201);
  EXPECT_EQ(rig.PlatformScript().beeps, 1);
}

TEST(PlaybackLife, ClosingTheWindowEndsTheRunAtItsNextRead) {
  ArchRig rig;
  rig.AddVolume(Uniform(40));
  TArchView& w = rig.Show();
  rig.Hints().onShown = [&](int count) {
    if (count == 2) QTimer::singleShot(0, &w, [&] { w.close(); });
  };
  rig.ProcessEvents();
  EXPECT_EQ(rig.Hints().shown.size(), 2u);
  EXPECT_EQ(rig.PlatformScript().beeps, 1);
  EXPECT_TRUE(StopRequested);
}

TEST(PlaybackLife, ClosingWhileFrozenDoesNotLeaveTheRunWaiting) {
  ArchRig rig;
  rig.AddVolume(Uniform(40));
  TArchView& w = rig.Show();
  rig.Hints().onShown = [&](int count) {
    if (count != 2) return;
    w.StopBtnClick();
    QTimer::singleShot(0, &w, [&] { w.close(); });
  };
  rig.ProcessEvents();
  EXPECT_EQ(rig.Hints().shown.size(), 2u);
  EXPECT_EQ(rig.PlatformScript().beeps, 1);
  EXPECT_FALSE(Frozen);
}

TEST(PlaybackLife, DestroyingTheWindowInTheMiddleOfARunIsSafe) {
  ArchRig rig;
  rig.AddVolume(Uniform(40));
  rig.Show();
  TArchView* w = rig.Release();
  int shown = 0;
  rig.Hints().onShown = [&](int count) {
    shown = count;
    if (count == 2) QTimer::singleShot(0, [w] { delete w; });
  };
  rig.ProcessEvents();
  EXPECT_EQ(shown, 2);
  EXPECT_EQ(PlaybackStream, nullptr);
  // A later showing of a new window still plays.
  rig.Hints().onShown = nullptr;
}

TEST(PlaybackExport, StepForExportReportsFramesStopsAndIntervalEnd) {
  ArchRig rig;
  std::vector<Record> records = Uniform(12);
  for (Record& r : records) r.kind = KindContinuous | KindMotion;
  rig.AddVolume(records);
  TArchView& w = rig.ShowStill();

  StopRequested = true;
  const double before = PlaybackTime;
  EXPECT_TRUE(w.StepFrameForExport());
  EXPECT_EQ(PlaybackTime, before);  // nothing read

  StopRequested = false;
  const int at = rig.IndexOf(PlaybackTime);
  ASSERT_GE(at, 0);
  ASSERT_LE(at, 5);
  EXPECT_TRUE(w.StepFrameForExport());
  EXPECT_FALSE(StopRequested);
  EXPECT_EQ(rig.IndexOf(PlaybackTime), at + 1);
  EXPECT_EQ(ExportCamera, (at + 1) % 4);
  EXPECT_EQ(ExportKinds, KindContinuous | KindMotion);
  EXPECT_TRUE(w.CellPanels[ExportCamera]->toolTip().endsWith(
      QStringLiteral(" (непрерывная запись) (запись по тревоге)")));

  w.SetIntervalEnd(records[at + 2].time + 0.5 / 86400);
  EXPECT_TRUE(w.StepFrameForExport());   // the last record inside
  EXPECT_FALSE(w.StepFrameForExport());  // the next lies past the end
  EXPECT_TRUE(StopRequested);
  EXPECT_EQ(rig.PlatformScript().beeps, 1);

  w.SetIntervalEnd(ArchRig::At(100));
  StopRequested = false;
  while (!StopRequested) ASSERT_TRUE(w.StepFrameForExport());  // to the archive's end
  EXPECT_EQ(PlaybackTime, records.back().time);
  EXPECT_EQ(rig.PlatformScript().beeps, 2);
}

}  // namespace
}  // namespace archtest
