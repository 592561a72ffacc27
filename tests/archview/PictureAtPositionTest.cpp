// A picture wherever the position goes while stopped or frozen, and the
// controls that move it: the position bar's wheel and held thumb, the
// first/last record buttons' focus, keys in full screen, the pickers' width.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTimeEdit>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>
#include <QtTest/QTest>

#include <algorithm>
#include <optional>

#include "ArchRig.h"
#include "archview/ArchCaptions.h"
#include "archview/PictureAtPosition.h"
#include "archview/PlaybackState.h"
#include "common/DateTime.h"
#include "view/CellImage.h"
#include "view/CellPanel.h"

namespace archtest {
namespace {

// Five minutes: camera 1 every 2 s; camera 2 in the first 30 s only;
// camera 3 every 50 s; camera 4 only motion history (not wanted at first);
// camera 21, whose cell is hidden, every 3 s. No two records share a time.
std::vector<Record> FiveMinutes() {
  std::vector<Record> records;
  for (int i = 0; i <= 150; ++i) records.push_back({ArchRig::At(2.0 * i), 0, KindContinuous});
  for (int i = 0; i < 3; ++i) records.push_back({ArchRig::At(1.0 + 10 * i), 1, KindContinuous});
  for (int i = 0; i < 6; ++i) records.push_back({ArchRig::At(25.5 + 50 * i), 2, KindMotion});
  for (int i = 0; i < 75; ++i)
    records.push_back({ArchRig::At(0.25 + 4 * i), 3, KindMotionHistory});
  for (int i = 0; i < 100; ++i) records.push_back({ArchRig::At(0.75 + 3 * i), 20, KindActivity});
  std::sort(records.begin(), records.end(),
            [](const Record& a, const Record& b) { return a.time < b.time; });
  return records;
}

// The latest record of camera at or before position, a minute old at most,
// of a wanted kind.
std::optional<Record> Latest(const std::vector<Record>& records, int camera, double position) {
  std::optional<Record> found;
  for (const Record& r : records)
    if (r.camera == camera && r.time <= position && !PictureStale(r.time, position) &&
        (static_cast<std::uint32_t>(r.kind) & KindMask) != 0)
      found = r;
  return found;
}

// The first record after position, up to the interval's end, that a step
// shows: a visible camera, a wanted kind.
std::optional<Record> NextShown(const std::vector<Record>& records, double position, double end) {
  for (const Record& r : records)
    if (r.time > position && r.time <= end && r.camera < 16 &&
        (static_cast<std::uint32_t>(r.kind) & KindMask) != 0)
      return r;
  return std::nullopt;
}

void Wheel(QWidget* widget, int delta) {
  QWheelEvent event(QPointF(5, 5), widget->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, delta),
                    Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(widget, &event);
}

void ReleaseThumbAt(TArchView& w, int position) {
  w.CurrentPos->setSliderDown(true);
  w.CurrentPos->setSliderPosition(position);
  w.CurrentPos->setSliderDown(false);
}

struct MoveRow {
  const char* name;
  void (*move)(TArchView&);
};

class PictureAtPosition : public ::testing::TestWithParam<MoveRow> {};

TEST_P(PictureAtPosition, VisibleCamerasShowTheirLatestFrameOfTheLastMinute) {
  ArchRig rig;
  rig.AddVolume(FiveMinutes());
  TArchView& w = rig.ShowStill();
  ReleaseThumbAt(w, 500);  // stopped, in the middle
  GetParam().move(w);

  const double position = PlaybackTime;
  for (int camera = 0; camera < 16; ++camera) {
    const std::optional<Record> latest = Latest(rig.Records(), camera, position);
    SCOPED_TRACE(camera);
    if (latest) {
      EXPECT_EQ(w.CellTime[camera], latest->time);
      EXPECT_FALSE(w.CellImages[camera]->isHidden());
    } else {
      EXPECT_TRUE(w.CellImages[camera]->isHidden());
      EXPECT_EQ(w.CellPanels[camera]->Caption(), NoRecordCaption());
    }
  }
  EXPECT_EQ(w.CellTime[20], 0.0);  // a hidden cell is not read for
  // The reader stands on the record the control put it on: a step goes on
  // from there.
  EXPECT_EQ(w.Reader.Entry().Time, PlaybackTime);
  rig.Hints().shown.clear();
  w.RightStep->click();
  const std::optional<Record> next = NextShown(rig.Records(), position, w.IntervalEnd());
  if (next) {
    ASSERT_EQ(rig.Hints().shown.size(), 1u);
    EXPECT_EQ(rig.Hints().shown[0].time, next->time);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Controls, PictureAtPosition,
    ::testing::Values(
        MoveRow{"FirstRecord", [](TArchView& w) { w.LeftRefreshBtn->click(); }},
        MoveRow{"LastRecord", [](TArchView& w) { w.RightRefreshBtn->click(); }},
        MoveRow{"TrackClick",
                [](TArchView& w) {
                  w.CurrentPos->triggerAction(QAbstractSlider::SliderPageStepSub);
                }},
        MoveRow{"ThumbRelease", [](TArchView& w) { ReleaseThumbAt(w, 90); }},
        MoveRow{"Wheel", [](TArchView& w) { Wheel(w.CurrentPos, -120); }},
        MoveRow{"IntervalStart", [](TArchView& w) { w.OldTime->setTime(QTime(14, 3, 0)); }},
        MoveRow{"KindFilter", [](TArchView& w) { w.HistRecBox->click(); }},
        MoveRow{"Frozen",
                [](TArchView& w) {
                  w.StopBtnClick();
                  ReleaseThumbAt(w, 20);
                }}),
    [](const auto& info) { return std::string(info.param.name); });

// Records a few milliseconds apart at a volume's start, the position on the
// first of them: every camera finds its latest frame across the boundary.
TEST(PictureAtPositionRing, RecordsJustAfterAVolumeStartAreAllFound) {
  ArchRig rig;
  std::vector<Record> first = RoundRobin(ArchRig::Base(), 20, 4, 1.0);
  first.push_back({ArchRig::At(19.5), 20, KindContinuous});
  first.push_back({ArchRig::At(19.8), 20, KindContinuous});
  std::vector<Record> second;
  for (int i = 0; i < 4; ++i)
    second.push_back({ArchRig::At(30 + 0.037 * i), 4 + i, KindContinuous});
  for (const Record& r : RoundRobin(ArchRig::At(31), 16, 8, 1.0)) second.push_back(r);
  rig.AddVolume(first);
  rig.AddVolume(second);
  TArchView& w = rig.ShowStill();
  w.OldTime->setTime(QTime(14, 0, 30));  // the position goes to the second volume's start
  ASSERT_EQ(PlaybackTime, ArchRig::At(30));
  EXPECT_EQ(w.CellTime[4], ArchRig::At(30));  // the volume's first record
  for (int camera = 0; camera < 8; ++camera) {
    SCOPED_TRACE(camera);
    const std::optional<Record> latest = Latest(rig.Records(), camera, PlaybackTime);
    if (latest)
      EXPECT_EQ(w.CellTime[camera], latest->time);
    else
      EXPECT_TRUE(w.CellImages[camera]->isHidden());
  }
  EXPECT_EQ(w.Reader.Entry().Time, PlaybackTime);
}

TEST(PictureAtPositionRun, AFrozenRunShowsThePictureAndGoesOnFromThere) {
  ArchRig rig;
  rig.AddVolume(FiveMinutes());
  TArchView& w = rig.ShowStill();
  double moved = 0.0;
  rig.Hints().onShown = [&](int count) {
    if (count != 3) return;
    w.StopBtn->click();
    QTimer::singleShot(0, &w, [&] {
      rig.Hints().shown.clear();
      rig.Hints().onShown = nullptr;
      ReleaseThumbAt(w, 500);
      moved = PlaybackTime;
      QTimer::singleShot(0, &w, [&] { w.StopBtn->click(); });
    });
  };
  w.RightRunClick();
  ASSERT_GT(moved, 0.0);
  ASSERT_TRUE(Latest(rig.Records(), 0, moved));
  // The picture came first, then the run went on after the new position.
  std::vector<double> times;
  for (const Shown& s : rig.Hints().shown) times.push_back(s.time);
  ASSERT_GT(times.size(), 3u);
  EXPECT_LE(times[0], moved);
  EXPECT_EQ(*std::find_if(times.begin(), times.end(), [&](double t) { return t > moved; }),
            NextShown(rig.Records(), moved, w.IntervalEnd())->time);
}

struct ReadRow {
  const char* name;
  int cameras;        // recorded, in turn, a record a second for ten minutes
  int visibleCells;   // cells left visible, from camera 1
  std::uint64_t maxReads;
};

class PictureReads : public ::testing::TestWithParam<ReadRow> {};

TEST_P(PictureReads, StopsWhenEveryCameraHasItsFrameOrTheMinuteIsUsedUp) {
  const ReadRow& row = GetParam();
  ArchRig rig;
  rig.AddVolume(RoundRobin(ArchRig::Base(), 600, row.cameras, 1.0), 4 * MinVolumeSize);
  TArchView& w = rig.ShowStill();
  for (int i = row.visibleCells; i < 16; ++i) w.CellPanels[i]->hide();
  w.LayoutChanged();
  w.RightRefreshBtnClick();  // the end: ten minutes lie before it
  const std::uint64_t before = w.Reader.ReadCount();
  ShowPictureAtPosition(w);
  EXPECT_LE(w.Reader.ReadCount() - before, row.maxReads);
  EXPECT_FALSE(w.CellImages[0]->isHidden());
}

INSTANTIATE_TEST_SUITE_P(
    Archives, PictureReads,
    // A walk through the whole ten minutes would take some 3,000 reads.
    ::testing::Values(ReadRow{"MinuteUsedUp", 1, 16, 500}, ReadRow{"AllFound", 4, 4, 80}),
    [](const auto& info) { return std::string(info.param.name); });

// 101 records one second apart, camera 1.
std::vector<Record> Hundred() { return RoundRobin(ArchRig::Base(), 101, 1, 1.0); }

struct WheelRow {
  const char* name;
  std::vector<int> deltas;
  int pages;  // track clicks it stands for
};

class PositionBarWheel : public ::testing::TestWithParam<WheelRow> {};

TEST_P(PositionBarWheel, MovesThePositionLikeAClickInTheTrack) {
  ArchRig rig;
  rig.AddVolume(Hundred());
  TArchView& w = rig.ShowStill();
  ReleaseThumbAt(w, 500);
  const int from = w.CurrentPos->value();
  for (int delta : GetParam().deltas) Wheel(w.CurrentPos, delta);
  const double target = w.IntervalStart() + (w.IntervalEnd() - w.IntervalStart()) *
                                                (from + 50 * GetParam().pages) / 1000.0;
  EXPECT_NEAR((PlaybackTime - target) * 86400, 0.0, 3.0);
  EXPECT_EQ(w.CurrentPos->sliderPosition(), w.CurrentPos->value());
}

INSTANTIATE_TEST_SUITE_P(
    Turns, PositionBarWheel,
    ::testing::Values(WheelRow{"DownIsLater", {-120}, 1}, WheelRow{"UpIsEarlier", {120}, -1},
                      WheelRow{"HalfNotchesAddUp", {-60, -60, -120}, 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PositionBarThumb, HeldThumbTellsWhereItsReleaseGoes) {
  ArchRig rig;
  rig.AddVolume(Hundred());
  TArchView& w = rig.ShowStill();
  const QString hint = w.CurrentPos->toolTip();
  w.CurrentPos->setSliderDown(true);
  w.CurrentPos->setSliderPosition(700);
  const QString told = w.CurrentPos->toolTip();
  w.CurrentPos->setSliderDown(false);
  const double target = w.IntervalStart() + 700 * (w.IntervalEnd() - w.IntervalStart()) / 1000.0;
  EXPECT_EQ(told, DateTimeText(target));
  EXPECT_NEAR((PlaybackTime - target) * 86400, 0.0, 3.0);  // the release went there
  EXPECT_EQ(w.CurrentPos->toolTip(), hint);
}

class FirstLastButtons : public ::testing::TestWithParam<bool> {};

TEST_P(FirstLastButtons, TakeNoFocusFromAClick) {
  ArchRig rig;
  rig.AddVolume(Hundred());
  TArchView& w = rig.ShowStill();
  w.activateWindow();
  QPushButton* button = GetParam() ? w.RightRefreshBtn : w.LeftRefreshBtn;
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_NE(w.focusWidget(), button);
}

INSTANTIATE_TEST_SUITE_P(Buttons, FirstLastButtons, ::testing::Bool());

// In full screen a character key leaves it, whichever control has the focus.
class FullScreenKey : public ::testing::TestWithParam<bool> {};

TEST_P(FullScreenKey, ReachesTheWindowNotTheFocusedControl) {
  ArchRig rig;
  rig.AddVolume(Hundred());
  TArchView& w = rig.ShowStill();
  w.SizeItemClick();
  ASSERT_TRUE(w.IsFullScreen());
  const QDateTime start = w.OldDate->dateTime();
  if (GetParam()) {
    w.StopBtn->setFocus();
    QTest::keyClick(w.StopBtn, Qt::Key_Space);
  } else {
    w.OldDate->setFocus();
    QTest::keyClick(w.OldDate, '5');
  }
  EXPECT_FALSE(w.IsFullScreen());
  EXPECT_FALSE(Frozen);
  EXPECT_EQ(w.OldDate->dateTime(), start);
}

INSTANTIATE_TEST_SUITE_P(Focus, FullScreenKey, ::testing::Bool());

struct FormatRow {
  const char* date;
  const char* time;
};

class IntervalPickers : public ::testing::TestWithParam<FormatRow> {};

TEST_P(IntervalPickers, ShowTheLongestDateWholeAndCoverNothing) {
  const FixedLocaleFormats formats(GetParam().date, GetParam().time, {});
  ArchRig rig;
  InstallLocaleFormats(&formats);
  rig.AddVolume(Hundred());
  TArchView& w = rig.ShowStill();
  QDateTimeEdit* pickers[] = {w.OldDate, w.OldTime, w.NewDate, w.NewTime};
  for (int month = 1; month <= 12; ++month) {
    for (int day : {23, 28}) {
      const double value = MakeDateTime(2026, month, day, 22, 58, 58);
      w.SetIntervalStart(value);
      w.SetIntervalEnd(value);
      for (QDateTimeEdit* picker : pickers) {
        const QLineEdit* line = picker->findChild<QLineEdit*>();
        ASSERT_NE(line, nullptr);
        EXPECT_LE(line->fontMetrics().horizontalAdvance(line->text()) + 2, line->width())
            << line->text().toStdString();
      }
    }
  }
  EXPECT_LT(w.OldDate->geometry().right(), w.PlayPanel->x());
  EXPECT_LT(w.OldTime->geometry().right(), w.RealTimeBtn->x());
  EXPECT_GT(w.NewDate->x(), w.PlayPanel->geometry().right());
  EXPECT_GT(w.NewTime->x(), w.SpeedBar->geometry().right());
  // The speed readout's line, above the record panel, ends before the last
  // record box.
  EXPECT_LT(w.SpeedLabel->geometry().right(), w.LastBox->x());
  EXPECT_LE(w.SpeedLabel->geometry().bottom(), w.RecPanel->y());
  EXPECT_LE(w.CurrentPos->x(), w.OldDate->x());
  EXPECT_GE(w.CurrentPos->geometry().right(), w.NewDate->geometry().right());
  EXPECT_LT(w.CurrentPos->geometry().right(), w.RecPanel->width());
  EXPECT_GE(w.LastBox->x(), w.RecPanel->geometry().right());
  EXPECT_GT(w.TimerRecBox->x(), w.LastBox->geometry().right());
}

INSTANTIATE_TEST_SUITE_P(Formats, IntervalPickers,
                         ::testing::Values(FormatRow{"dd.MM.yyyy", "H:mm:ss"},
                                           FormatRow{"d MMM yyyy", "HH:mm:ss"},
                                           FormatRow{"yyyy. MM. dd.", "h:mm:ss AP"}));

}  // namespace
}  // namespace archtest
