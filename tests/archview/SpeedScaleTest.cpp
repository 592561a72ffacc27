// The speed bar at real time: the multiple at each position, the marks that
// a drag snaps to and a page step goes to, on the bar itself with "1×" on and
// off; and the pacer's account of a wait outside the run.

#include <gtest/gtest.h>

#include <QSlider>
#include <QToolButton>

#include <cmath>

#include "ArchRig.h"
#include "archview/RealTimePacer.h"
#include "archview/SpeedScale.h"

namespace archtest {
namespace {

TEST(SpeedScale, MultipleAtEachPositionAndBack) {
  const struct {
    int position;
    double multiple;
    const char* text;
  } rows[] = {{-100, 1.0 / 16, "×1/16"}, {-75, 0.125, "×1/8"}, {-50, 0.25, "×1/4"},
              {-25, 0.5, "×1/2"},        {0, 1.0, "×1"},      {17, 2.0, "×2"},
              {33, 4.0, "×4"},           {50, 8.0, "×8"},     {67, 16.0, "×16"},
              {83, 32.0, "×32"},         {100, 64.0, "×64"},  {8, std::exp2(8.0 / 17), "×1.4"},
              {-13, std::exp2(-13.0 / 25), "×0.70"},          {75, std::exp2(4 + 8.0 / 16), "×23"}};
  for (const auto& row : rows) {
    EXPECT_DOUBLE_EQ(MultipleAt(row.position), row.multiple) << row.position;
    EXPECT_EQ(PositionOf(row.multiple), row.position) << row.position;
    EXPECT_EQ(MultipleText(MultipleAt(row.position)), QString::fromUtf8(row.text)) << row.position;
  }
  EXPECT_DOUBLE_EQ(MultipleAt(-1000), 1.0 / 16);
  EXPECT_EQ(PositionOf(1000.0), 100);
  EXPECT_EQ(PositionOf(0.0), -100);
}

TEST(SpeedScale, SnapsToAMarkNearItAndStepsFromMarkToMark) {
  const int snapped[][2] = {{3, 0}, {-4, 0}, {5, 5}, {21, 17}, {29, 33}, {25, 25},
                            {-29, -25}, {-30, -30}, {96, 100}, {-97, -100}};
  for (const auto& row : snapped) EXPECT_EQ(SnappedPosition(row[0]), row[1]) << row[0];
  const int next[][3] = {{0, 1, 17},  {0, 0, -25},   {10, 1, 17},  {10, 0, 0},
                         {83, 1, 100}, {100, 1, 100}, {-100, 0, -100}, {-60, 0, -75}};
  for (const auto& row : next) EXPECT_EQ(NextMark(row[0], row[1] != 0), row[2]) << row[0];
}

struct BarRow {
  const char* name;
  bool realTime;
  bool drag;     // a drag of the thumb to target; otherwise a page step up
  int target;
  int expected;  // the bar's value afterwards
};

class SpeedBarOnScreen : public ::testing::TestWithParam<BarRow> {};

TEST_P(SpeedBarOnScreen, MarksHoldOnlyWithRealTime) {
  const BarRow& row = GetParam();
  ArchRig rig;
  rig.AddVolume(RoundRobin(ArchRig::Base(), 10, 4, 1.0));
  TArchView& w = rig.ShowStill();
  w.RealTimeBtn->setChecked(row.realTime);
  QSlider* bar = w.SpeedBar;
  if (row.drag) {
    bar->setSliderDown(true);
    bar->setSliderPosition(row.target);
    bar->setSliderDown(false);
  } else {
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
  }
  EXPECT_EQ(bar->value(), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Moves, SpeedBarOnScreen,
    ::testing::Values(BarRow{"DragSnapsToX4", true, true, 31, 33},
                      BarRow{"DragBetweenMarksStays", true, true, 42, 42},
                      BarRow{"DragWithoutRealTimeStays", false, true, 31, 31},
                      BarRow{"PageStepGoesToX2", true, false, 0, 17},
                      BarRow{"PageStepWithoutRealTime", false, false, 0, 62}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RealTimePacer, AWaitOutsideTheRunMovesTheAnchorByWhatFollowedIt) {
  const double second = 1.0 / 86400.0;
  const struct {
    double anchorAt, began, ended;
    double dueIn;  // of a record 2 s on at ×1, read at ended
  } rows[] = {{0.0, 1.0, 9.0, 2.0 - 1.0},  // a stall: the run goes on from where it was
              {0.0, 1.0, 1.1, 2.0 - 1.1},  // a hitch: the run makes it up
              {5.0, 1.0, 9.0, 2.0 - 0.0},  // anchored during the stall: from its end
              {0.0, 1.0, 1.0 + TRealTimePacer::StallLimit, 2.0 - 1.0 - TRealTimePacer::StallLimit}};
  for (const auto& row : rows) {
    TRealTimePacer pacer;
    pacer.Restart(0.0, 1.0, row.anchorAt);
    pacer.NoteOutside(row.began, row.ended);
    EXPECT_NEAR(pacer.DueIn(2 * second, row.ended), row.dueIn, 1e-9) << row.began << " " << row.ended;
  }
  TRealTimePacer fast;
  fast.Restart(0.0, 4.0, 10.0);
  EXPECT_NEAR(fast.DueIn(-8 * second, 10.5), 1.5, 1e-9);  // backward alike
}

}  // namespace
}  // namespace archtest
