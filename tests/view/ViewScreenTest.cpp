// Full screen, the key that leaves it, the default window, closing.

#include "tests/view/ViewRig.h"

#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

using ViewFullScreen = ViewTest;
using ViewDefaultWindow = ViewTest;
using ViewClose = ViewTest;

TEST_F(ViewFullScreen, FullBtnMaximisesWithoutSidePanelAndEscFullBtnComesBack) {
  const QSize normalGrid = view->VisPanel->size();
  view->FullBtn->click();
  QApplication::processEvents();
  EXPECT_TRUE(view->isMaximized());
  EXPECT_FALSE(view->FullBtn->isEnabled());
  EXPECT_TRUE(view->EscFullBtn->isEnabled());
  EXPECT_FALSE(view->TabPanel->isVisible());
  EXPECT_TRUE(view->CommandPanel->isVisible());
  EXPECT_GT(view->VisPanel->width(), normalGrid.width());
  // The cells were re-placed for the larger grid area.
  EXPECT_EQ(Rect(15).right() + 1, 4 * view->CellWidth());

  view->EscFullBtn->click();
  QApplication::processEvents();
  EXPECT_FALSE(view->isMaximized());
  EXPECT_TRUE(view->FullBtn->isEnabled());
  EXPECT_FALSE(view->EscFullBtn->isEnabled());
  EXPECT_TRUE(view->TabPanel->isVisible());
  EXPECT_EQ(view->VisPanel->size(), normalGrid);
  EXPECT_EQ(view->layoutChanges, 1);
}

TEST_F(ViewFullScreen, CharacterKeyLeavesFullScreenAndDoesNotClose) {
  view->SizeItemClick();
  QApplication::processEvents();
  ASSERT_TRUE(view->isMaximized());
  QTest::keyClick(view.get(), Qt::Key_Escape);
  QApplication::processEvents();
  EXPECT_FALSE(view->isMaximized());
  EXPECT_TRUE(view->isVisible());
  EXPECT_EQ(view->closings, 0);
  // In the normal window a key does nothing, Esc included.
  QTest::keyClick(view.get(), Qt::Key_A);
  QTest::keyClick(view.get(), Qt::Key_Escape);
  QApplication::processEvents();
  EXPECT_FALSE(view->isMaximized());
  EXPECT_TRUE(view->isVisible());
  EXPECT_EQ(view->closings, 0);
}

TEST_F(ViewDefaultWindow, GivesAGridAreaOf770x530) {
  view->Button43->click();
  QApplication::processEvents();
  EXPECT_EQ(view->VisPanel->size(), QSize(770, 530));
}

TEST_F(ViewDefaultWindow, FromFullScreenFirstRestoresTheNormalWindow) {
  view->FullBtn->click();
  QApplication::processEvents();
  view->Button43->click();
  QApplication::processEvents();
  EXPECT_FALSE(view->isMaximized());
  EXPECT_TRUE(view->TabPanel->isVisible());
  EXPECT_EQ(view->VisPanel->size(), QSize(770, 530));
}

TEST_F(ViewClose, ClosingInFullScreenLeavesTheNormalWindowForTheNextShowing) {
  view->FullBtn->click();
  QApplication::processEvents();
  view->ExitBtn->click();
  QApplication::processEvents();
  EXPECT_FALSE(view->isVisible());
  EXPECT_FALSE(view->isMaximized());
  EXPECT_EQ(view->closings, 1);
  EXPECT_FALSE(view->Timer->isActive());

  view->show();
  QApplication::processEvents();
  EXPECT_FALSE(view->isMaximized());
  EXPECT_TRUE(view->FullBtn->isEnabled());
  EXPECT_FALSE(view->EscFullBtn->isEnabled());
  EXPECT_TRUE(view->TabPanel->isVisible());
  EXPECT_TRUE(view->Timer->isActive());
}

TEST_F(ViewClose, EveryWayOfClosingRunsFormCloseOnce) {
  view->close();
  EXPECT_EQ(view->closings, 1);
  view->show();
  view->reject();
  EXPECT_EQ(view->closings, 2);
  view->show();
  view->done(QDialog::Accepted);
  EXPECT_EQ(view->closings, 3);
  view->close();  // already closed
  EXPECT_EQ(view->closings, 3);
}

TEST_F(ViewClose, ClosingEmptiesThePicturesAndShowingDropsUnsavedChanges) {
  view->CellImages[3]->Bitmap() = QImage(8, 8, QImage::Format_RGB32);
  Click(0);
  view->close();
  EXPECT_TRUE(view->CellImages[3]->Bitmap().isNull());
  view->show();
  QApplication::processEvents();
  EXPECT_EQ(view->CellWidthSpan[0], 1);
  EXPECT_EQ(VisibleCount(), 16);
  EXPECT_FALSE(view->SaveItem->isEnabled());
  EXPECT_FALSE(view->PrintItem->isEnabled());
}

TEST_F(ViewClose, RightHandButtonsKeepTheirDistanceFromTheRightEdge) {
  SetGridArea(900, 500);
  EXPECT_EQ(view->CommandPanel->width() - view->ExitBtn->geometry().right(), 700 - 687);
  EXPECT_EQ(view->ExitBtn->x() - view->ArchButton->x(), 72);
}
