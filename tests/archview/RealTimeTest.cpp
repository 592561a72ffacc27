// Real time: a run at the bar's 0 (or left of it) with "1×" on never shows a
// frame before the wall clock reaches it, waiting in its 10 ms pauses; moves,
// freezes and the closed window; the readout of the speed achieved. The
// elapsed clock is the rig's scripted one: pauses pass at once.

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTimer>
#include <QToolButton>

#include <cmath>

#include "ArchRig.h"
#include "archview/PlaybackState.h"
#include "archview/RealTimeControls.h"
#include "archview/SpeedMeter.h"

namespace archtest {
namespace {

// 200 records half a second apart, cameras 0..3 in turn: 100 s of archive.
std::vector<Record> HalfSeconds() { return RoundRobin(ArchRig::Base(), 200, 4, 0.5); }

// A frame seen: the elapsed reading and the position when it was shown.
struct Seen {
  double seconds;
  double time;
};

// Watches every frame shown; the anchor is where the run, or the last move
// or release, started the clock.
class RunWatch {
 public:
  explicit RunWatch(ArchRig& rig) : rig_(rig) {
    rig.Hints().onShown = [this](int) { seen.push_back({rig_.Elapsed().Seconds(), PlaybackTime}); };
    Anchor();
  }
  void Anchor() { anchor = {rig_.Elapsed().Seconds(), PlaybackTime}; }
  // Seconds of archive and of wall clock from the anchor to a frame.
  double ArchiveSeconds(const Seen& s) const { return std::fabs(s.time - anchor.time) * 86400.0; }
  double WallSeconds(const Seen& s) const { return s.seconds - anchor.seconds; }

  std::vector<Seen> seen;
  Seen anchor{};

 private:
  ArchRig& rig_;
};

struct RunRow {
  const char* name;
  bool forward;
  int bar;
  bool realTime;
  bool paced;  // expected: held to the wall clock
};

class RealTimeRun : public ::testing::TestWithParam<RunRow> {};

TEST_P(RealTimeRun, FramesWaitForTheWallClockOnlyWhereRealTimeApplies) {
  const RunRow& row = GetParam();
  ArchRig rig;
  rig.AddVolume(HalfSeconds());
  TArchView& w = rig.ShowStill();
  w.RealTimeBtn->setChecked(row.realTime);
  w.SpeedBar->setValue(row.bar);
  if (!row.forward) w.RightRefreshBtnClick();
  RunWatch watch(rig);
  row.forward ? w.RightRunClick() : w.LeftRunClick();

  ASSERT_GE(watch.seen.size(), 20u);
  EXPECT_EQ(rig.PlatformScript().beeps, 1);  // the run went to the end
  if (row.paced) {
    for (const Seen& s : watch.seen) {
      // Never ahead of the wall clock, and late by less than one pause.
      EXPECT_LE(watch.ArchiveSeconds(s), watch.WallSeconds(s) + 1e-6);
      EXPECT_LT(watch.WallSeconds(s), watch.ArchiveSeconds(s) + 0.010 + 1e-6);
    }
  } else {
    EXPECT_GT(watch.ArchiveSeconds(watch.seen.back()), 10 * watch.WallSeconds(watch.seen.back()));
    // The free run pauses only as the bar says: once per step right of 0.
    if (row.bar > 0)
      EXPECT_GE(rig.Elapsed().Sleeps(), static_cast<int>(watch.seen.size()));
    else
      EXPECT_EQ(rig.Elapsed().Sleeps(), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Bar, RealTimeRun,
    ::testing::Values(RunRow{"ForwardAtZero", true, 0, true, true},
                      RunRow{"BackwardAtZero", false, 0, true, true},
                      RunRow{"LeftOfZeroIsNeverFaster", true, -1, true, true},
                      RunRow{"RightOfZeroSkipsAhead", true, 1, true, false},
                      RunRow{"ToggleOffRunsFree", true, 0, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RealTime, AddsOnlyWaitingTheFramesShownAreThoseOfTheFreeRun) {
  std::vector<double> shown[2];
  for (bool realTime : {false, true}) {
    ArchRig rig;
    rig.AddVolume(HalfSeconds());
    TArchView& w = rig.ShowStill();
    w.RealTimeBtn->setChecked(realTime);
    w.RightRunClick();
    for (const Shown& s : rig.Hints().shown) shown[realTime].push_back(s.time);
  }
  EXPECT_EQ(shown[1], shown[0]);
}

enum class Event { PositionMove, Freeze };

class RealTimeAnchor : public ::testing::TestWithParam<Event> {};

TEST_P(RealTimeAnchor, MoveOrFreezeStartsTheClockAfresh) {
  ArchRig rig;
  rig.AddVolume(HalfSeconds());
  TArchView& w = rig.ShowStill();
  RunWatch watch(rig);
  std::size_t firstAfter = 0;
  rig.Hints().onShown = [&](int count) {
    watch.seen.push_back({rig.Elapsed().Seconds(), PlaybackTime});
    if (count != 5) return;
    if (GetParam() == Event::Freeze) w.StopBtn->click();
    QTimer::singleShot(0, &w, [&] {
      if (GetParam() == Event::PositionMove) {
        w.CurrentPos->triggerAction(QAbstractSlider::SliderPageStepAdd);  // 5 s on
      } else {
        rig.Elapsed().Advance(30.0);  // frozen half a minute
        w.StopBtn->click();
      }
      watch.Anchor();
      firstAfter = watch.seen.size();
    });
  };
  w.RightRunClick();

  ASSERT_GT(firstAfter, 0u);
  ASSERT_GT(watch.seen.size(), firstAfter + 10);
  // No wait for the distance jumped, no burst for the time frozen.
  EXPECT_LT(watch.WallSeconds(watch.seen[firstAfter]), 1.0);
  for (std::size_t i = firstAfter; i < watch.seen.size(); ++i)
    EXPECT_LE(watch.ArchiveSeconds(watch.seen[i]), watch.WallSeconds(watch.seen[i]) + 1e-6);
}

INSTANTIATE_TEST_SUITE_P(Events, RealTimeAnchor,
                         ::testing::Values(Event::PositionMove, Event::Freeze));

TEST(RealTime, ExportIsNeverPaced) {
  ArchRig rig;
  rig.AddVolume(HalfSeconds());
  TArchView& w = rig.ShowStill();
  StopRequested = false;
  for (int i = 0; i < 20; ++i) ASSERT_TRUE(w.StepFrameForExport());
  EXPECT_FALSE(StopRequested);
  EXPECT_EQ(rig.Elapsed().Sleeps(), 0);
}

TEST(RealTimeToggle, OnByDefaultAndSwitchingItOnBringsTheBarToZero) {
  ArchRig rig;
  rig.AddVolume(HalfSeconds());
  TArchView& w = rig.ShowStill();
  EXPECT_TRUE(w.RealTimeBtn->isChecked());
  EXPECT_EQ(w.RealTimeBtn->text(), QStringLiteral("1×"));
  EXPECT_EQ(w.RealTimeBtn->toolTip(), QStringLiteral("Реальное время"));
  w.SpeedBar->setValue(-40);
  w.RealTimeBtn->click();  // off: the bar stays
  EXPECT_EQ(w.SpeedBar->value(), -40);
  w.RealTimeBtn->click();  // on: where it applies
  EXPECT_EQ(w.SpeedBar->value(), 0);
}

TEST(SpeedReadout, TextsOfTheSpeed) {
  const std::pair<double, const char*> rows[] = {
      {1.0, "×1.0"}, {0.1, "×0.1"}, {87.3, "×87"}, {9.96, "×10"},
      {0.05, "×0.05"}, {0.0, "×0"}, {-1.0, "×0"}};
  for (const auto& [speed, text] : rows)
    EXPECT_EQ(SpeedReadoutText(speed), QString::fromUtf8(text)) << speed;
}

TEST(SpeedReadout, TellsTheRunsSpeedZeroWhileFrozenNothingWhenStopped) {
  ArchRig rig;
  rig.AddVolume(HalfSeconds());
  TArchView& w = rig.ShowStill();
  QString running, frozen;
  rig.Hints().onShown = [&](int count) {
    if (count == 40) {
      w.RealTime->UpdateReadout();
      running = w.SpeedLabel->text();
      w.StopBtn->click();
      w.RealTime->UpdateReadout();
      frozen = w.SpeedLabel->text();
      QTimer::singleShot(0, &w, [&] { w.StopArch->click(); });
    }
  };
  w.RightRunClick();
  EXPECT_EQ(running, QStringLiteral("×1.0"));
  EXPECT_EQ(frozen, QStringLiteral("×0"));
  w.RealTime->UpdateReadout();
  EXPECT_EQ(w.SpeedLabel->text(), QString());
}

// After Выход in the middle of a slow or a real-time run, what is left of
// the run ends without a single wait.
class ClosedWindow : public ::testing::TestWithParam<int> {};

TEST_P(ClosedWindow, PausesAndWaitsOfARunEndAtOnce) {
  ArchRig rig;
  rig.AddVolume(HalfSeconds());
  TArchView& w = rig.ShowStill();
  w.SpeedBar->setValue(GetParam());
  int sleepsAtClose = -1;
  rig.Hints().onShown = [&](int count) {
    if (count != 2) return;
    QTimer::singleShot(0, &w, [&] {
      w.ExitBtn->click();
      sleepsAtClose = rig.Elapsed().Sleeps();
    });
  };
  w.RightRunClick();
  ASSERT_GE(sleepsAtClose, 0);
  EXPECT_FALSE(w.isVisible());
  EXPECT_EQ(rig.Elapsed().Sleeps(), sleepsAtClose);
  EXPECT_TRUE(StopRequested);
}

INSTANTIATE_TEST_SUITE_P(Bar, ClosedWindow, ::testing::Values(-100, 0));

}  // namespace
}  // namespace archtest
