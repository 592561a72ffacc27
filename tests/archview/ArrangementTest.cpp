// The playback window's arrangement: the play buttons on the command strip in
// full screen and back on their panel by every way out, SaveBitBtn beside
// them, and printing from both states.

#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QFrame>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "ArchRig.h"
#include "archview/TimelineStrip.h"
#include "view/CellPanel.h"

namespace archtest {
namespace {

void ExpectNormalArrangement(TArchView& w) {
  EXPECT_FALSE(w.IsFullScreen());
  EXPECT_EQ(w.PlayPanel->parentWidget(), w.RecPanel);
  EXPECT_EQ(w.PlayPanel->pos(), QPoint(96, 20));
  EXPECT_FALSE(w.ArchPanel->isHidden());
  EXPECT_FALSE(w.TimelineStrip->isHidden());
  EXPECT_EQ(w.SaveBitBtn->geometry(), QRect(328, 4, 75, 25));
}

void ExpectFullScreenArrangement(TArchView& w) {
  EXPECT_TRUE(w.IsFullScreen());
  EXPECT_EQ(w.PlayPanel->parentWidget(), w.CommandPanel);
  EXPECT_EQ(w.PlayPanel->pos(), QPoint(240, 4));
  EXPECT_TRUE(w.PlayPanel->isVisible());
  EXPECT_TRUE(w.ArchPanel->isHidden());
  EXPECT_TRUE(w.TimelineStrip->isHidden());
  // The play buttons would cover SaveBitBtn's place: it stands after them.
  EXPECT_FALSE(w.SaveBitBtn->geometry().intersects(w.PlayPanel->geometry()));
  EXPECT_EQ(w.SaveBitBtn->pos(), QPoint(411, 4));
  EXPECT_TRUE(w.SaveBitBtn->isVisible());
}

enum class Way { EscFullBtn, CharacterKey, EscapeKey, DefaultWindow, Closing };

class ArrangementLeave : public ::testing::TestWithParam<Way> {};

TEST_P(ArrangementLeave, PlayButtonsGoToTheStripAndComeBackWithTheArchivePanel) {
  ArchRig rig;
  rig.AddVolume(RoundRobin(ArchRig::Base(), 20, 4, 1.0));
  TArchView& w = rig.ShowStill();
  ExpectNormalArrangement(w);

  w.FullBtn->click();
  rig.ProcessEvents();
  ExpectFullScreenArrangement(w);
  // The five buttons are still one radio group on the strip.
  EXPECT_EQ(w.PlayGroup->buttons().size(), 5);
  w.LeftRun->setChecked(true);
  EXPECT_FALSE(w.StopArch->isChecked());
  w.StopArch->setChecked(true);
  EXPECT_EQ(w.PlayGroup->checkedButton(), w.StopArch);

  switch (GetParam()) {
    case Way::EscFullBtn: w.EscFullBtn->click(); break;
    case Way::CharacterKey: QTest::keyClick(&w, Qt::Key_A); break;
    case Way::EscapeKey: QTest::keyClick(&w, Qt::Key_Escape); break;
    case Way::DefaultWindow: w.Button43->click(); break;
    case Way::Closing: w.close(); break;
  }
  rig.ProcessEvents();
  ExpectNormalArrangement(w);
  if (GetParam() == Way::DefaultWindow) {
    EXPECT_EQ(w.VisPanel->size(), QSize(770, 530));
  }
  EXPECT_EQ(w.isVisible(), GetParam() != Way::Closing);
  // Typing goes to the record panel again, never into the layout name field
  // that full screen had hidden.
  if (GetParam() != Way::Closing) {
    EXPECT_EQ(w.focusWidget(), w.RecPanel);
  }
}

INSTANTIATE_TEST_SUITE_P(EveryWayOut, ArrangementLeave,
                         ::testing::Values(Way::EscFullBtn, Way::CharacterKey, Way::EscapeKey,
                                           Way::DefaultWindow, Way::Closing));

TEST(ArrangementPrint, ArchivePanelComesBackAfterPrintingFromTheNormalWindowOnly) {
  ArchRig rig;
  rig.AddVolume(RoundRobin(ArchRig::Base(), 20, 4, 1.0));
  rig.PlatformScript().printFile = QString::fromStdString(rig.Dir().File("print.pdf"));
  TArchView& w = rig.ShowStill();
  w.StopBtnClick();  // printing is offered while frozen

  rig.PlatformScript().printAnswers = {true};
  w.PrintItemClick();
  rig.ProcessEvents();
  ExpectNormalArrangement(w);

  w.SizeItemClick();
  rig.ProcessEvents();
  rig.PlatformScript().printAnswers = {true};
  w.PrintItemClick();
  rig.ProcessEvents();
  ExpectFullScreenArrangement(w);
}

}  // namespace
}  // namespace archtest
