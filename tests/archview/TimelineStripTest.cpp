// The timeline strip: its ruler and zoom rules, its lanes, a volume read on
// as it grows, and the mouse (a click goes to a time, the wheel zooms around
// the pointer, a drag pans, a drag with Shift marks the interval). Full screen and printing hide it with
// the archive panel (ArrangementTest).

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QTest>
#include <QThread>
#include <QTimeEdit>
#include <QWheelEvent>

#include <cstring>

#include "ArchRig.h"
#include "archive/OrxWrite.h"
#include "archview/PlaybackState.h"
#include "archview/TimelineFeed.h"
#include "archview/TimelineRuler.h"
#include "archview/TimelineScale.h"
#include "archview/TimelineStrip.h"
#include "common/DateTime.h"
#include "view/KindColours.h"

namespace archtest {
namespace {

constexpr double Day = 86400.0;

TEST(TimelineRuler, StepsAndLabelsFitTheZoom) {
  const double noon = MakeDateTime(2026, 12, 7, 12, 0, 0);
  const struct {
    double spanSeconds;
    double step;
    const char* firstLabel;  // of the ticks from noon on
  } rows[] = {{2 * Day, 10800, "12:00"},  // two days: every three hours
              {3600, 300, "12:00"},       // an hour: every five minutes
              {60, 5, "12:00:00"},        // a minute: seconds show
              {20 * Day, 86400, "08.12"}};  // weeks: dates
  for (const auto& row : rows) {
    const double step = RulerStepSeconds(row.spanSeconds / Day, 1000, 45);
    EXPECT_EQ(step, row.step) << row.spanSeconds;
    const auto ticks = RulerTicks(noon, noon + row.spanSeconds / Day, step);
    ASSERT_FALSE(ticks.empty());
    EXPECT_EQ(ticks.front().label, QString::fromUtf8(row.firstLabel)) << row.spanSeconds;
  }
  // Midnight says the date, in bold on the strip.
  const auto ticks = RulerTicks(noon, noon + 1.0, 21600);
  ASSERT_EQ(ticks.size(), 5u);
  EXPECT_TRUE(ticks[2].dayStart);
  EXPECT_EQ(ticks[2].label, QStringLiteral("08.12"));
}

TEST(TimelineScale, ZoomsFromTheWholeArchiveToAMinuteAndBack) {
  TimelineScale scale;
  const double first = 46000.0, last = first + 2.0;
  ASSERT_TRUE(scale.SetExtent(first, last));
  EXPECT_TRUE(scale.Whole());
  EXPECT_LT(scale.From(), first);
  EXPECT_GT(scale.To(), last);
  const double around = first + 0.5;
  for (int i = 0; i < 40; ++i) scale.ZoomAround(around, 0.5);
  EXPECT_NEAR(scale.Span() * Day, TimelineScale::MinSpanSeconds, 1e-6);
  EXPECT_NEAR(scale.TimeAt(scale.XOf(around, 800), 800), around, 1e-9);
  scale.Pan(-5.0);  // not past the archive's start
  EXPECT_GE(scale.From(), first - 0.05);
  EXPECT_FALSE(scale.Whole());
  scale.SetExtent(first, last + 1.0);  // a zoomed strip keeps its stretch
  EXPECT_NEAR(scale.Span() * Day, TimelineScale::MinSpanSeconds, 1e-6);
  for (int i = 0; i < 40; ++i) scale.ZoomAround(around, 2.0);
  EXPECT_TRUE(scale.Whole());
  EXPECT_GT(scale.To(), last + 1.0);
}

// Camera 1 continuous a record every 2 s over ten minutes, with motion from
// 200 to 260 s.
std::vector<Record> TenMinutes() {
  std::vector<Record> records;
  for (int s = 0; s <= 600; s += 2) {
    const bool motion = s >= 200 && s <= 260;
    records.push_back({ArchRig::At(s), 0, std::int32_t(KindContinuous | (motion ? KindMotion : 0))});
  }
  return records;
}

class StripRig {
 public:
  StripRig() {
    rig.AddVolume(TenMinutes());
    w = &rig.ShowStill();
    w->resize(1000, 700);
    rig.ProcessEvents();
    rig.WaitForTimeline();
    strip = w->TimelineStrip;
    strip->Poll();
  }
  int X(double seconds) const { return int(strip->XOfTime(ArchRig::At(seconds))); }
  // Camera 1's lane, the first.
  int LaneY() const { return strip->LanesRect().top(); }
  QColor ColourAt(double seconds) const {
    return strip->grab().toImage().pixelColor(X(seconds), LaneY());
  }
  void Wheel(int x, int delta) {
    const QPointF pos(x, LaneY());
    QWheelEvent event(pos, strip->mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(strip, &event);
  }
  void Drag(int from, int to, Qt::KeyboardModifiers modifiers) {
    QTest::mousePress(strip, Qt::LeftButton, modifiers, QPoint(from, LaneY()));
    for (int x = from; std::abs(to - x) > 5; x += (to > from ? 5 : -5))
      QTest::mouseMove(strip, QPoint(x, LaneY()));
    QTest::mouseMove(strip, QPoint(to, LaneY()));
    QTest::mouseRelease(strip, Qt::LeftButton, modifiers, QPoint(to, LaneY()));
  }
  double Ms(double time) const { return MakeDateTime(SplitDateTime(time)); }

  ArchRig rig;
  TArchView* w = nullptr;
  TTimelineStrip* strip = nullptr;
};

TEST(TimelineStrip, LanesShowTheKindsTheBoxesLetThrough) {
  StripRig s;
  EXPECT_EQ(s.strip->LaneCameras(), std::vector<int>({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12,
                                                      13, 14, 15}));
  EXPECT_EQ(s.ColourAt(230), KindColour(KindMotion));
  EXPECT_EQ(s.ColourAt(400), KindColour(KindContinuous));
  EXPECT_TRUE(s.strip->HintAt(QPoint(s.X(230), s.LaneY())).endsWith(
      QStringLiteral(" (непрерывная) (движение)")))
      << s.strip->HintAt(QPoint(s.X(230), s.LaneY())).toStdString();
  s.w->MoveRecBox->setChecked(false);
  s.w->TimerRecBoxClick();
  s.strip->Poll();
  EXPECT_EQ(s.ColourAt(230), KindColour(KindContinuous));
}

TEST(TimelineStrip, AVolumeThatGrowsIsReadOn) {
  StripRig s;
  const std::size_t runs = s.w->TimelineFeed->Runs().RunCount();
  // A recorder appends motion of camera 2 after the last record.
  TOrxWrite writer;
  ASSERT_TRUE(writer.Open(s.rig.Volumes().front()));
  std::memcpy(ExportBuffer.data(), s.rig.Frame().data(), s.rig.Frame().size());
  for (int t = 700; t <= 710; ++t)
    ASSERT_EQ(writer.Append(1, KindMotion, ArchRig::At(t), int(s.rig.Frame().size())), 1);
  // Read on within a few periods of the feed, the new run fills in.
  for (int i = 0; i < 2000 && s.w->TimelineFeed->Runs().RunCount() == runs; ++i) {
    s.rig.ProcessEvents();
    QThread::msleep(5);
  }
  EXPECT_EQ(s.w->TimelineFeed->Runs().RunFrom(1, KindMotion, 0.0),
            (TimelineRun{ArchRig::At(700), ArchRig::At(710), 11}));
  // The camera menu marks the camera the recorder added.
  EXPECT_TRUE(s.w->CameraItems[1]->font().bold());
  EXPECT_FALSE(s.w->CameraItems[2]->font().bold());
}

enum class Mouse { Click, Wheel, Pan, ShiftDrag };

class TimelineStripMouse : public ::testing::TestWithParam<Mouse> {};

TEST_P(TimelineStripMouse, ActsAsTheOperatorExpects) {
  StripRig s;
  const int x = s.X(300);
  const double at = s.strip->TimeAtX(x);
  switch (GetParam()) {
    case Mouse::Click: {
      QTest::mouseClick(s.strip, Qt::LeftButton, Qt::NoModifier, QPoint(x, s.LaneY()));
      // As a click on the position bar: forward to the first record at or
      // after the time, and the picture there follows.
      double expected = 0;
      for (const Record& r : s.rig.Records())
        if (r.time >= at) {
          expected = r.time;
          break;
        }
      EXPECT_EQ(PlaybackTime, expected);
      EXPECT_FALSE(s.rig.Hints().shown.empty());
      break;
    }
    case Mouse::Wheel: {
      const double span = s.strip->Scale().Span();
      s.Wheel(x, 120);
      EXPECT_NEAR(s.strip->Scale().Span() / span, 1 / TTimelineStrip::NotchZoom, 1e-9);
      EXPECT_NEAR(s.strip->TimeAtX(x), at, 1e-9);  // the time under the pointer stays
      s.Wheel(x, -240);
      EXPECT_TRUE(s.strip->Scale().Whole());
      break;
    }
    case Mouse::Pan: {
      s.Wheel(x, 360);  // in, so there is room to pan
      const double from = s.strip->Scale().From();
      const double position = PlaybackTime;
      s.Drag(x, x + 100, Qt::NoModifier);
      EXPECT_NEAR(s.strip->Scale().From(), from - (s.strip->TimeAtX(100) - s.strip->TimeAtX(0)),
                  1e-9);
      EXPECT_EQ(PlaybackTime, position);  // a drag is no click
      break;
    }
    case Mouse::ShiftDrag: {
      const int to = s.X(400);
      s.Drag(x, to, Qt::ShiftModifier);
      EXPECT_EQ(s.w->IntervalStart(), s.Ms(at));
      EXPECT_EQ(s.w->IntervalEnd(), s.Ms(s.strip->TimeAtX(to)));
      // The pickers show it: 14:05, within a pixel.
      EXPECT_NEAR(s.w->OldTime->dateTime().time().msecsSinceStartOfDay() / 1000.0,
                  14 * 3600 + 300, 1.0);
      // The position is kept inside the new interval.
      EXPECT_GE(PlaybackTime, s.w->IntervalStart());
      break;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Actions, TimelineStripMouse,
                         ::testing::Values(Mouse::Click, Mouse::Wheel, Mouse::Pan,
                                           Mouse::ShiftDrag));

}  // namespace
}  // namespace archtest
