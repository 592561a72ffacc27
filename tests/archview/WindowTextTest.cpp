// What the window writes while playing: the cell hint, the caption of the
// timer tick and the marking of stale cells.

#include <gtest/gtest.h>

#include <QToolButton>

#include "ArchRig.h"
#include "archview/PlaybackState.h"
#include "common/DateTime.h"
#include "view/CellImage.h"
#include "view/CellPanel.h"

namespace archtest {
namespace {

// Records of a hidden camera around one of camera 5 (index 4) at
// 5 January 2001 14:03:07 with kinds 1 and 4.
class WindowText : public ::testing::Test {
 protected:
  void SetUp() override {
    std::vector<Record> records;
    for (int i = 0; i < 10; ++i) records.push_back(Record{ArchRig::At(170 + i), 20, 1});
    records.push_back(Record{shot_, 4, KindContinuous | KindMotion});
    for (int i = 0; i < 5; ++i) records.push_back(Record{ArchRig::At(200 + i), 20, 1});
    rig_.AddVolume(records);
    window_ = &rig_.ShowStill();
    window_->RightStepClick();
  }
  ArchRig rig_;
  TArchView* window_ = nullptr;
  const double shot_ = MakeDateTime(2001, 1, 5, 14, 3, 7);
};

TEST_F(WindowText, StepShowsCameraFiveWithItsHint) {
  ASSERT_EQ(rig_.Hints().shown.size(), 1u);
  EXPECT_EQ(rig_.Hints().shown[0].cell, 4);
  EXPECT_EQ(window_->CellPanels[4]->toolTip(),
            QStringLiteral("5:     05.01.2001 14:03:07 (непрерывная) (движение)"));
  EXPECT_EQ(window_->CellTime[4], shot_);
  EXPECT_FALSE(window_->CellImages[4]->isHidden());
  EXPECT_EQ(window_->CellImages[4]->Bitmap().size(), QSize(64, 48));
  EXPECT_EQ(PlaybackTime, shot_);
  EXPECT_TRUE(StopRequested);
  EXPECT_EQ(rig_.PlatformScript().beeps, 0);
}

TEST_F(WindowText, TimerCaptionNamesDayMonthWeekdayYearAndTime) {
  window_->TimerTimer();
  EXPECT_EQ(window_->windowTitle(), QStringLiteral("Архив    5 января,Friday,2001  14:03:07"));
}

TEST_F(WindowText, PictureExactlyOneMinuteOldStaysAMomentMoreIsMarked) {
  PlaybackTime = MakeDateTime(2001, 1, 5, 14, 4, 7);
  window_->TimerTimer();
  EXPECT_FALSE(window_->CellImages[4]->isHidden());
  EXPECT_NE(window_->CellPanels[4]->Caption(), QStringLiteral("Нет записи"));
  // Cells that never had a picture are marked at the first tick.
  EXPECT_TRUE(window_->CellImages[0]->isHidden());
  EXPECT_EQ(window_->CellPanels[0]->Caption(), QStringLiteral("Нет записи"));

  PlaybackTime = MakeDateTime(2001, 1, 5, 14, 4, 7, 1);
  window_->TimerTimer();
  EXPECT_TRUE(window_->CellImages[4]->isHidden());
  EXPECT_EQ(window_->CellPanels[4]->Caption(), QStringLiteral("Нет записи"));
  // The next frame of the camera shows its picture again.
  PlaybackTime = shot_ - 1.0 / 86400;
  window_->Reader.SetPosition(PlaybackTime, SeekDirection::Backward);
  window_->RightStepClick();
  EXPECT_FALSE(window_->CellImages[4]->isHidden());
}

TEST_F(WindowText, BackwardStepFindsTheSameFrame) {
  window_->RightRefreshBtnClick();
  window_->LeftStepClick();
  ASSERT_EQ(rig_.Hints().shown.size(), 2u);
  EXPECT_EQ(rig_.Hints().shown[1].time, shot_);
  EXPECT_TRUE(window_->StopArch->isChecked());
}

}  // namespace
}  // namespace archtest
