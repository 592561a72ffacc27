// Gaps crossed at real time: with "1×" on, at any multiple, a stretch of
// more than 2 s of archive without a frame the run shows is crossed at once,
// the pacing goes on from the frame after it, and the readout says so. The
// elapsed clock is the rig's scripted one.

#include <gtest/gtest.h>

#include <QLabel>
#include <QSlider>
#include <QToolButton>

#include <cmath>

#include "ArchRig.h"
#include "archview/PlaybackState.h"
#include "archview/RealTimeControls.h"
#include "archview/SpeedMeter.h"

namespace archtest {
namespace {

struct GapRow {
  const char* name;
  bool realTime;
  int bar;
  bool forward;
  double gap;           // seconds between the frames on either side
  bool hiddenInGap;     // a hidden camera records all through the gap
  bool crossed;
  const char* readout;  // the readout's end when the frame after the gap shows
};

// Camera 1 a frame every half second for 5 s, the gap, 5 s more.
std::vector<Record> AroundAGap(double gap, bool hiddenInGap) {
  std::vector<Record> records;
  for (int i = 0; i < 10; ++i) records.push_back({ArchRig::At(i * 0.5), 0, KindContinuous});
  for (double t = 5.0; hiddenInGap && t < 4.5 + gap; t += 5.0)
    records.push_back({ArchRig::At(t), 20, KindContinuous});
  for (int i = 0; i < 10; ++i)
    records.push_back({ArchRig::At(4.5 + gap + i * 0.5), 0, KindContinuous});
  return records;
}

class GapCrossing : public ::testing::TestWithParam<GapRow> {};

TEST_P(GapCrossing, CrossedAtOnceOnlyAtRealTimeAndBeyondTwoSeconds) {
  const GapRow& row = GetParam();
  ArchRig rig;
  rig.AddVolume(AroundAGap(row.gap, row.hiddenInGap));
  TArchView& w = rig.ShowStill();
  w.RealTimeBtn->setChecked(row.realTime);
  w.SpeedBar->setValue(row.bar);
  if (!row.forward) w.RightRefreshBtnClick();
  const double multiple = row.realTime ? w.RealTime->Multiple() : 1.0;
  struct Seen {
    double seconds, time;
    QString readout;
  };
  std::vector<Seen> seen;
  rig.Hints().onShown = [&](int) {
    seen.push_back({rig.Elapsed().Seconds(), PlaybackTime, w.SpeedLabel->text()});
  };
  row.forward ? w.RightRunClick() : w.LeftRunClick();

  // The frames on either side of the gap, in the order shown.
  const double near = row.forward ? 4.5 : 4.5 + row.gap;
  std::size_t before = seen.size();
  for (std::size_t i = 0; i < seen.size(); ++i)
    if (seen[i].time == ArchRig::At(near)) before = i;
  ASSERT_LT(before + 5, seen.size());
  const Seen& after = seen[before + 1];
  EXPECT_NEAR(std::fabs(after.time - seen[before].time) * 86400.0, row.gap, 1e-3);
  const double waited = after.seconds - seen[before].seconds;
  if (!row.realTime) {
    EXPECT_EQ(rig.Elapsed().Sleeps(), 0);  // free as ever
  } else if (row.crossed) {
    EXPECT_LT(waited, 0.011);
  } else {
    EXPECT_NEAR(waited, row.gap / multiple, 0.011);
  }
  if (*row.readout == 0)
    EXPECT_TRUE(after.readout.isEmpty()) << after.readout.toStdString();
  else
    EXPECT_TRUE(after.readout.endsWith(QString::fromUtf8(row.readout)))
        << after.readout.toStdString();
  EXPECT_EQ(after.readout.contains(QStringLiteral("пропуск")), row.crossed);
  // The pacing goes on from the frame after the gap.
  for (std::size_t i = before + 2; i < seen.size(); ++i) {
    if (!row.realTime) break;
    const double due = std::fabs(seen[i].time - after.time) * 86400.0 / multiple;
    EXPECT_GE(seen[i].seconds - after.seconds + 1e-4, due) << i;
    EXPECT_LT(seen[i].seconds - after.seconds, due + 0.011) << i;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Gaps, GapCrossing,
    ::testing::Values(
        GapRow{"FiftyMinutesAtOne", true, 0, true, 3012, false, true, "×1, пропуск 50:12"},
        GapRow{"TenMinutesAtFour", true, 33, true, 600, false, true, "×4, пропуск 10:00"},
        GapRow{"Backward", true, 0, false, 3012, false, true, "×1, пропуск 50:12"},
        GapRow{"AHiddenCameraRecordsNothingToShow", true, 0, true, 600, true, true,
               "пропуск 10:00"},
        GapRow{"TwoSecondsAreWaited", true, 0, true, 2.0, false, false, "×1"},
        GapRow{"JustPastTwoSecondsIsCrossed", true, -50, true, 2.001, false, true,
               "пропуск 0:02"},
        GapRow{"ToggleOffChangesNothing", false, 0, true, 3012, false, false, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GapCrossedText, MinutesSecondsAndHours) {
  const std::pair<double, const char*> rows[] = {
      {3012, "пропуск 50:12"}, {2.4, "пропуск 0:02"}, {7500, "пропуск 2:05:00"}};
  for (const auto& [seconds, text] : rows)
    EXPECT_EQ(GapCrossedText(seconds), QString::fromUtf8(text)) << seconds;
}

}  // namespace
}  // namespace archtest
