// Real time: a run with "1×" on keeps to the multiple the bar asks for,
// waiting in its 10 ms pauses, shows every frame while it keeps pace and
// passes over frames only to catch up; moves, freezes, holds outside the run
// and the closed window; the readout. The elapsed clock is the rig's
// scripted one: pauses pass at once, and a test moves it to stand for slow
// frames or long holds.

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTimer>
#include <QToolButton>

#include <cmath>
#include <functional>

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
  double multiple;  // expected: held to this multiple of the wall clock; 0 = free
};

class RealTimeRun : public ::testing::TestWithParam<RunRow> {};

TEST_P(RealTimeRun, FramesKeepToTheMultipleAskedOnlyWhereRealTimeApplies) {
  const RunRow& row = GetParam();
  ArchRig rig;
  rig.AddVolume(HalfSeconds());
  TArchView& w = rig.ShowStill();
  w.RealTimeBtn->setChecked(row.realTime);
  w.SpeedBar->setValue(row.bar);
  if (row.forward) {
    w.SetIntervalEnd(ArchRig::At(30));
  } else {
    w.SetIntervalStart(ArchRig::At(70));
    w.RightRefreshBtnClick();
  }
  const int from = rig.IndexOf(PlaybackTime);
  RunWatch watch(rig);
  row.forward ? w.RightRunClick() : w.LeftRunClick();

  ASSERT_GE(watch.seen.size(), 20u);
  EXPECT_EQ(rig.PlatformScript().beeps, 1);  // the run went to the interval's end
  if (row.multiple > 0.0) {
    // Keeping pace, every record is shown, the one the run starts on too:
    // nothing is passed over.
    const int to = rig.IndexOf(watch.seen.back().time);
    EXPECT_EQ(static_cast<int>(watch.seen.size()), std::abs(to - from) + 1);
    for (const Seen& s : watch.seen) {
      // Never ahead of the clock, and late by less than one pause (to the
      // millisecond, as record times are).
      const double due = watch.ArchiveSeconds(s) / row.multiple;
      EXPECT_LE(due, watch.WallSeconds(s) + 1e-4);
      EXPECT_LT(watch.WallSeconds(s), due + 0.010 + 1e-4);
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
    ::testing::Values(RunRow{"ForwardAtZero", true, 0, true, 1.0},
                      RunRow{"BackwardAtZero", false, 0, true, 1.0},
                      RunRow{"FourTimes", true, 33, true, 4.0},
                      RunRow{"AQuarter", true, -50, true, 0.25},
                      RunRow{"BackwardEightTimes", false, 50, true, 8.0},
                      RunRow{"ToggleOffRunsFree", true, 0, false, 0.0},
                      RunRow{"ToggleOffRightOfZeroSkipsAhead", true, 1, false, 0.0}),
    [](const auto& info) { return std::string(info.param.name); });

// A frame that takes longer to show than the records are apart: the run
// passes over what it must to stay with the clock, and says how many.
struct BehindRow {
  const char* name;
  int bar;
  double showSeconds;  // the wall-clock time each frame takes to show
  double minShare, maxShare;  // of the frames due, the share passed over
};

class RealTimeBehind : public ::testing::TestWithParam<BehindRow> {};

TEST_P(RealTimeBehind, CatchesUpByPassingOverAndTellsTheShare) {
  const BehindRow& row = GetParam();
  ArchRig rig;
  rig.AddVolume(HalfSeconds());
  TArchView& w = rig.ShowStill();
  w.SpeedBar->setValue(row.bar);
  const double multiple = w.RealTime->Multiple();
  RunWatch watch(rig);
  QString readout;
  rig.Hints().onShown = [&](int count) {
    rig.Elapsed().Advance(row.showSeconds);
    watch.seen.push_back({rig.Elapsed().Seconds(), PlaybackTime});
    if (count == 12) {
      w.RealTime->UpdateReadout();
      readout = w.SpeedLabel->text();
    }
  };
  w.RightRunClick();

  ASSERT_GE(watch.seen.size(), 12u);
  const int records = rig.IndexOf(watch.seen.back().time) - rig.IndexOf(watch.anchor.time);
  const double share = 1.0 - double(watch.seen.size()) / records;
  EXPECT_GE(share, row.minShare);
  EXPECT_LE(share, row.maxShare);
  // The pace holds: no frame is later than the catching up allows.
  for (const Seen& s : watch.seen)
    EXPECT_LE(watch.WallSeconds(s) - watch.ArchiveSeconds(s) / multiple,
              TRealTimeControls::CatchUpLag + row.showSeconds + 1e-6);
  EXPECT_TRUE(readout.contains(QStringLiteral(", пропущено "))) << readout.toStdString();
  EXPECT_FALSE(readout.contains(QStringLiteral("→"))) << readout.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Slow, RealTimeBehind,
    ::testing::Values(BehindRow{"TwiceTooSlowAtOne", 0, 1.2, 0.5, 0.7},
                      BehindRow{"TooSlowAtFour", 33, 0.4, 0.6, 0.85}),
    [](const auto& info) { return std::string(info.param.name); });

// A handler that holds the thread (a modal dialog, a menu) in the middle of
// a run at real time: a long hold is not made up, a short one is.
struct HoldRow {
  const char* name;
  double seconds;
  bool madeUp;
};

class RealTimeHold : public ::testing::TestWithParam<HoldRow> {};

TEST_P(RealTimeHold, ALongWaitOutsideTheRunIsNotMadeUp) {
  const HoldRow& row = GetParam();
  ArchRig rig;
  rig.AddVolume(HalfSeconds());
  TArchView& w = rig.ShowStill();
  RunWatch watch(rig);
  std::size_t held = 0;
  rig.Hints().onShown = [&](int count) {
    watch.seen.push_back({rig.Elapsed().Seconds(), PlaybackTime});
    if (count == 5) QTimer::singleShot(0, &w, [&] {
        rig.Elapsed().Advance(row.seconds);
        held = watch.seen.size();
      });
    if (count == 20) QTimer::singleShot(0, &w, [&] { w.StopArch->click(); });
  };
  w.RightRunClick();

  ASSERT_GT(held, 0u);
  ASSERT_EQ(watch.seen.size(), 20u);  // nothing passed over either way
  const double lost = row.madeUp ? 0.0 : row.seconds;
  for (std::size_t i = held; i < watch.seen.size(); ++i) {
    const double due = watch.ArchiveSeconds(watch.seen[i]) + lost;
    EXPECT_GE(watch.WallSeconds(watch.seen[i]) + 1e-6, due) << i;
    EXPECT_LT(watch.WallSeconds(watch.seen[i]), due + 0.010 + 1e-6) << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Holds, RealTimeHold,
                         ::testing::Values(HoldRow{"ModalDialog", 8.0, false},
                                           HoldRow{"BriefHitch", 0.15, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RealTime, AStopWhileAFrameWaitsShowsItAndTheNextRunGoesOnAfterIt) {
  ArchRig rig;
  rig.AddVolume(HalfSeconds());
  TArchView& w = rig.ShowStill();
  w.SetIntervalEnd(ArchRig::At(20));
  const int from = rig.IndexOf(PlaybackTime);
  // Once the frame after the fifth is read and waits for its time: stop.
  std::function<void()> stopWhileWaiting = [&] {
    if (PlaybackTime == rig.Hints().shown.back().time)
      QTimer::singleShot(0, &w, stopWhileWaiting);
    else
      w.StopArch->click();
  };
  rig.Hints().onShown = [&](int count) {
    if (count == 5) QTimer::singleShot(0, &w, stopWhileWaiting);
  };
  w.RightRunClick();
  EXPECT_EQ(rig.Hints().shown.size(), 6u);
  w.RightRunClick();
  std::vector<int> shown, expected;
  for (const Shown& s : rig.Hints().shown) shown.push_back(rig.IndexOf(s.time));
  for (int i = from; i <= rig.IndexOf(ArchRig::At(20)); ++i) expected.push_back(i);
  EXPECT_EQ(shown, expected);
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

TEST(SpeedReadout, TextsAtRealTime) {
  const struct {
    double asked, achieved, share;
    const char* text;
  } rows[] = {{1.0, 1.0, -1.0, "×1"},
              {1.0, -1.0, 0.0, "×1"},
              {4.0, 3.7, -1.0, "×4"},
              {4.0, 2.1, -1.0, "×4 → ×2.1"},
              {1.0, 0.98, 0.03, "×1, пропущено 3 %"},
              {16.0, 9.3, 0.123, "×16 → ×9.3, пропущено 12 %"},
              {0.25, -1.0, 0.001, "×1/4, пропущено 1 %"},
              {2.0, 0.0, -1.0, "×2 → ×0"}};
  for (const auto& row : rows)
    EXPECT_EQ(RealTimeReadoutText(row.asked, row.achieved, row.share), QString::fromUtf8(row.text))
        << row.text;
}

TEST(SpeedReadout, TellsTheMultipleAskedZeroWhileFrozenAndOnlyTheMultipleWhenStopped) {
  ArchRig rig;
  rig.AddVolume(HalfSeconds());
  TArchView& w = rig.ShowStill();
  w.SpeedBar->setValue(33);
  EXPECT_EQ(w.SpeedLabel->text(), QStringLiteral("×4"));  // at once, before any run
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
  EXPECT_EQ(running, QStringLiteral("×4"));
  EXPECT_EQ(frozen, QStringLiteral("×4 → ×0"));
  w.RealTime->UpdateReadout();
  EXPECT_EQ(w.SpeedLabel->text(), QStringLiteral("×4"));
  w.RealTimeBtn->setChecked(false);
  EXPECT_EQ(w.SpeedLabel->text(), QString());  // stopped, without real time
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
