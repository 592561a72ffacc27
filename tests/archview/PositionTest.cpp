// The interval and the position: the first and last record buttons, the
// position bar, the pickers, an inverted interval, the record-kind boxes.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QToolButton>
#include <QTimeEdit>
#include <QtTest/QTest>

#include "ArchRig.h"
#include "archview/PlaybackState.h"
#include "archview/TimelineStrip.h"
#include "common/DateTime.h"

namespace archtest {
namespace {

// 101 records one second apart, camera 0: the interval spans 100 seconds.
std::vector<Record> Hundred() { return RoundRobin(ArchRig::Base(), 101, 1, 1.0); }

TEST(PositionShow, IntervalSpansArchiveAndBarStartsAtZero) {
  ArchRig rig;
  rig.AddVolume(Hundred());
  TArchView& w = rig.ShowStill();
  EXPECT_EQ(w.IntervalStart(), ArchRig::At(0));
  EXPECT_EQ(w.IntervalEnd(), ArchRig::At(100));
  EXPECT_EQ(PlaybackTime, w.IntervalStart());
  EXPECT_EQ(w.CurrentPos->value(), 0);
  EXPECT_FALSE(w.CurrentPos->isHidden());
  // Pickers of a pair hold one value; the first and last boxes the bounds.
  EXPECT_EQ(w.OldDate->dateTime(), w.OldTime->dateTime());
  EXPECT_EQ(w.NewDate->dateTime(), w.NewTime->dateTime());
  EXPECT_EQ(w.NewTime->time().hour(), 14);
  EXPECT_EQ(w.FirstDate->text(), QStringLiteral("05.01.2001"));
  EXPECT_EQ(w.FirstTime->text(), QStringLiteral("14:00:00"));
  EXPECT_EQ(w.LastTime->text(), QStringLiteral("14:01:40"));
  EXPECT_EQ(FirstRecordTime, ArchRig::At(0));
  EXPECT_EQ(LastRecordTime, ArchRig::At(100));
  EXPECT_FALSE(w.ArchPanel->isHidden());
  EXPECT_TRUE(rig.PlatformScript().informations.empty());
}

// Records every 0.2 s up to 14:00:20.000 across two volumes: the interval
// keeps the first and last records' exact times while the pickers show whole
// seconds, and a step reaches the last record.
TEST(PositionShow, TheIntervalHoldsTheFirstAndLastRecordsExactly) {
  ArchRig rig;
  rig.AddVolume(RoundRobin(ArchRig::At(0.2), 50, 4, 0.2));
  rig.AddVolume(RoundRobin(ArchRig::At(10.2), 50, 4, 0.2));
  TArchView& w = rig.ShowStill();
  EXPECT_EQ(w.IntervalStart(), ArchRig::At(0.2));
  EXPECT_EQ(w.IntervalEnd(), rig.Records().back().time);
  EXPECT_EQ(w.NewTime->text(), QStringLiteral("14:00:20"));
  PlaybackTime = rig.Records()[98].time;
  w.Reader.SetPosition(PlaybackTime, SeekDirection::Forward);
  w.RightStepClick();
  EXPECT_EQ(PlaybackTime, w.IntervalEnd());
  EXPECT_EQ(w.CellTime[rig.Records().back().camera], w.IntervalEnd());
}

TEST(PositionShow, KeysGoToTheWindowNotToAnEditField) {
  ArchRig rig;
  rig.AddVolume(Hundred());
  TArchView& w = rig.ShowStill();
  w.activateWindow();
  rig.ProcessEvents();
  EXPECT_EQ(w.focusWidget(), w.RecPanel);
}

TEST(PositionButtons, FirstAndLastRecordButtonsMoveThePosition) {
  ArchRig rig;
  rig.AddVolume(Hundred());
  TArchView& w = rig.ShowStill();
  const double start = w.IntervalStart();
  w.RightRefreshBtn->click();
  EXPECT_EQ(PlaybackTime, w.IntervalEnd());
  EXPECT_GE(rig.IndexOf(PlaybackTime), 98);
  EXPECT_EQ(w.CurrentPos->value(), 1000);
  w.LeftRefreshBtn->click();
  EXPECT_EQ(PlaybackTime, start);
  EXPECT_EQ(w.CurrentPos->value(), 0);
}

TEST(PositionButtons, EnterInTheWindowDoesNotJumpToTheFirstRecord) {
  ArchRig rig;
  rig.AddVolume(Hundred());
  TArchView& w = rig.ShowStill();
  w.RightRefreshBtn->click();
  const double end = PlaybackTime;
  QTest::keyClick(&w, Qt::Key_Return);
  EXPECT_EQ(PlaybackTime, end);
  EXPECT_TRUE(w.isVisible());
}

TEST(PositionButtons, LastRecordSearchReachesOneDayAhead) {
  ArchRig rig;
  std::vector<Record> records = Hundred();
  for (int i = 0; i < 5; ++i)
    records.push_back(Record{ArchRig::Present() + 0.5 + i / 86400.0, 0, KindContinuous});
  rig.AddVolume(records);
  TArchView& w = rig.ShowStill();
  EXPECT_GE(w.IntervalEnd(), ArchRig::Present() + 0.5);
  EXPECT_EQ(LastRecordTime, ArchRig::Present() + 0.5 + 4 / 86400.0);
}

TEST(PositionBar, ReleasingThumbAtHalfMovesToTheMiddle) {
  ArchRig rig;
  rig.AddVolume(Hundred());
  TArchView& w = rig.ShowStill();
  const double before = PlaybackTime;
  w.CurrentPos->setSliderDown(true);
  w.CurrentPos->setSliderPosition(500);
  EXPECT_EQ(PlaybackTime, before);  // dragging moves nothing
  w.CurrentPos->setSliderDown(false);
  const double middle = (w.IntervalStart() + w.IntervalEnd()) / 2;
  EXPECT_GE(PlaybackTime, middle);  // forward from before the middle
  EXPECT_LE(PlaybackTime, middle + 3.0 / 86400);
  EXPECT_NEAR(w.CurrentPos->value(), 500, 30);
  EXPECT_EQ(w.CurrentPos->sliderPosition(), w.CurrentPos->value());
}

TEST(PositionBar, RunningPlaybackLeavesTheHeldThumbWhereTheOperatorPutIt) {
  ArchRig rig;
  rig.AddVolume(Hundred());
  TArchView& w = rig.ShowStill();
  w.CurrentPos->setSliderDown(true);
  w.CurrentPos->setSliderPosition(500);
  // Steps of a run go on while the thumb is held.
  PlaybackTime = ArchRig::At(10);
  w.ClampPosition();
  EXPECT_EQ(w.CurrentPos->sliderPosition(), 500);
  w.CurrentPos->setSliderDown(false);
  const double middle = (w.IntervalStart() + w.IntervalEnd()) / 2;
  EXPECT_GE(PlaybackTime, middle);
  EXPECT_LE(PlaybackTime, middle + 3.0 / 86400);
}

TEST(PositionBar, TrackClickMovesOneTwentiethForward) {
  ArchRig rig;
  rig.AddVolume(Hundred());
  TArchView& w = rig.ShowStill();
  w.CurrentPos->triggerAction(QAbstractSlider::SliderPageStepAdd);
  const double span = w.IntervalEnd() - w.IntervalStart();
  const double target = w.IntervalStart() + span / 20;
  EXPECT_GE(PlaybackTime, target);
  EXPECT_LE(PlaybackTime, target + 3.0 / 86400);
  EXPECT_GE(w.CurrentPos->value(), 50);
  EXPECT_LE(w.CurrentPos->value(), 80);
}

TEST(PositionPickers, LaterStartDateMovesPositionToNewStart) {
  ArchRig rig;
  std::vector<Record> records = Hundred();
  for (int i = 0; i < 20; ++i)
    records.push_back(Record{MakeDateTime(2001, 1, 6, 14, 0, 0) + i / 86400.0, 0, 1});
  rig.AddVolume(records);
  TArchView& w = rig.ShowStill();
  const QTime timeOfDay = w.OldDate->time();
  w.OldDate->setDate(QDate(2001, 1, 6));  // as the operator's edit does
  // The date changed, the time of day stayed, and the twin follows.
  EXPECT_EQ(w.OldTime->dateTime(), w.OldDate->dateTime());
  EXPECT_EQ(w.OldDate->time(), timeOfDay);
  const double start = MakeDateTime(2001, 1, 6, timeOfDay.hour(), timeOfDay.minute(),
                                    timeOfDay.second(), timeOfDay.msec());
  EXPECT_EQ(w.IntervalStart(), start);
  EXPECT_GE(PlaybackTime, start);
  EXPECT_LE(PlaybackTime, start + 3.0 / 86400);
}

TEST(PositionPickers, TimeEditKeepsDateAndSetsTwin) {
  ArchRig rig;
  rig.AddVolume(Hundred());
  TArchView& w = rig.ShowStill();
  w.NewTime->setTime(QTime(14, 0, 50));
  EXPECT_EQ(w.NewDate->dateTime(), QDateTime(QDate(2001, 1, 5), QTime(14, 0, 50), Qt::UTC));
  EXPECT_EQ(w.IntervalEnd(), ArchRig::At(50));
}

TEST(PositionInterval, StartAfterEndHidesBarAndStepStopsAtOnce) {
  ArchRig rig;
  rig.AddVolume(Hundred());
  TArchView& w = rig.ShowStill();
  w.OldTime->setTime(QTime(14, 1, 0));
  w.NewDate->setDate(QDate(2001, 1, 4));  // before every record
  EXPECT_TRUE(w.CurrentPos->isHidden());
  rig.PlatformScript().beeps = 0;
  rig.Hints().shown.clear();  // the pictures at the positions the pickers gave
  w.RightStep->click();
  EXPECT_TRUE(rig.Hints().shown.empty());
  EXPECT_EQ(rig.PlatformScript().beeps, 1);
  EXPECT_TRUE(w.StopArch->isChecked());
}

TEST(PositionInterval, EqualStartAndEndHideTheBar) {
  ArchRig rig;
  rig.AddVolume(Hundred());
  TArchView& w = rig.ShowStill();
  w.SetIntervalStart(ArchRig::At(40));
  w.SetIntervalEnd(ArchRig::At(40));
  w.ClampPosition();
  EXPECT_TRUE(w.CurrentPos->isHidden());
  EXPECT_EQ(PlaybackTime, ArchRig::At(40));
}

TEST(PositionFilters, FirstShowingMatchesMaskAndClicksSetIt) {
  ArchRig rig;
  rig.AddVolume(Hundred());
  TArchView& w = rig.ShowStill();
  EXPECT_TRUE(w.TimerRecBox->isChecked());
  EXPECT_TRUE(w.ActiveRecBox->isChecked());
  EXPECT_TRUE(w.MoveRecBox->isChecked());
  EXPECT_FALSE(w.HistRecBox->isChecked());
  EXPECT_EQ(KindMask, 7u);
  w.HistRecBox->click();
  EXPECT_EQ(KindMask, 15u);
  w.MoveRecBox->click();
  EXPECT_EQ(KindMask, 11u);
}

TEST(PositionFilters, MaskPersistsIntoTheNextShowing) {
  ArchRig rig;
  rig.AddVolume(Hundred());
  TArchView& w = rig.ShowStill();
  w.TimerRecBox->click();
  w.HistRecBox->click();
  EXPECT_EQ(KindMask, 14u);
  w.close();
  rig.ShowStill();
  EXPECT_FALSE(w.TimerRecBox->isChecked());
  EXPECT_TRUE(w.HistRecBox->isChecked());
  EXPECT_EQ(KindMask, 14u);
}

TEST(PositionOpen, MissingArchiveShowsMessageHidesPanelAndRunBeeps) {
  ArchRig rig;
  rig.AddMissingVolume();
  TArchView& w = rig.Show();
  ASSERT_EQ(rig.PlatformScript().informations.size(), 1u);
  EXPECT_EQ(rig.PlatformScript().informations[0].title, QString());
  EXPECT_EQ(rig.PlatformScript().informations[0].text,
            QStringLiteral("Архив не найден или пуст"));
  EXPECT_TRUE(w.ArchPanel->isHidden());
  EXPECT_TRUE(w.isVisible());
  rig.ProcessEvents();  // the posted start ends at its first read
  EXPECT_EQ(rig.PlatformScript().beeps, 1);
  EXPECT_TRUE(rig.Hints().shown.empty());
  EXPECT_TRUE(StopRequested);
}

TEST(PositionOpen, EmptyVolumeKeepsSearchTimesAsInterval) {
  ArchRig rig;
  rig.AddVolume({});
  TArchView& w = rig.ShowStill();
  EXPECT_FALSE(w.ArchPanel->isHidden());
  EXPECT_EQ(w.IntervalStart(), 0.0);
  EXPECT_EQ(w.IntervalEnd(), ArchRig::Present() + 1.0);
  w.RightStepClick();
  EXPECT_EQ(rig.PlatformScript().beeps, 1);
}

TEST(Placement, DefaultsWithoutConfigurationFile) {
  ArchRig rig;
  TArchView& w = rig.Create();
  EXPECT_EQ(w.pos(), QPoint(0, 0));
  // The minimum size, grown by the timeline strip.
  EXPECT_EQ(w.size(), QSize(700, 500 + TTimelineStrip::StripHeight));
}

TEST(Placement, RoundTripThroughSectionArchView) {
  ArchRig rig;
  {
    TArchView& w = rig.Create();
    w.move(30, 40);
    w.resize(800, 620);
    rig.Destroy();
  }
  QSettings config(QString::fromStdString(rig.Dir().File("OrxViewer.cfg")), QSettings::IniFormat);
  EXPECT_EQ(config.value("ArchView/Top").toInt(), 40);
  EXPECT_EQ(config.value("ArchView/Left").toInt(), 30);
  EXPECT_EQ(config.value("ArchView/Width").toInt(), 800);
  EXPECT_EQ(config.value("ArchView/Height").toInt(), 620);
  // Another window's section is left alone.
  config.setValue("MainForm/Top", 7);
  config.sync();
  TArchView& again = rig.Create();
  EXPECT_EQ(again.pos(), QPoint(30, 40));
  EXPECT_EQ(again.size(), QSize(800, 620));
  rig.Destroy();
  QSettings after(QString::fromStdString(rig.Dir().File("OrxViewer.cfg")), QSettings::IniFormat);
  EXPECT_EQ(after.value("MainForm/Top").toInt(), 7);
}

}  // namespace
}  // namespace archtest
