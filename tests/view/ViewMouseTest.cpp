// The mouse on the grid: enlarging by click, swapping by drag, the
// right-click restore, the corner button and the camera menu.

#include "tests/view/ViewRig.h"

#include <QAction>
#include <QMenu>
#include <QToolButton>

using ViewEnlarge = ViewTest;
using ViewSwap = ViewTest;
using ViewRestore = ViewTest;
using ViewCornerButton = ViewTest;
using ViewCameraMenu = ViewTest;

TEST_F(ViewEnlarge, BottomRightCellGrowsUpAndLeftHidingWhatItCovers) {
  SetGridArea(551, 434);
  Click(15);
  EXPECT_EQ(view->CellColumn[15], 2);
  EXPECT_EQ(view->CellRow[15], 2);
  EXPECT_EQ(view->CellWidthSpan[15], 2);
  EXPECT_EQ(view->CellHeightSpan[15], 2);
  EXPECT_EQ(Rect(15), QRect(274, 216, 274, 216));
  EXPECT_FALSE(view->CellVisible(10));
  EXPECT_FALSE(view->CellVisible(11));
  EXPECT_FALSE(view->CellVisible(14));
  EXPECT_EQ(VisibleCount(), 13);
  EXPECT_EQ(view->layoutChanges, 2);
}

TEST_F(ViewEnlarge, ThreeByThreeGrowsToTheWholeGridThenStays) {
  SetGridArea(551, 434);
  Click(5);
  Click(5);  // 3 x 3 at column 1, row 1
  ASSERT_EQ(view->CellWidthSpan[5], 3);
  ASSERT_EQ(view->CellColumn[5], 1);
  ASSERT_EQ(view->CellRow[5], 1);
  EXPECT_TRUE(view->CellVisible(0));

  Click(5);
  EXPECT_EQ(view->CellColumn[5], 0);
  EXPECT_EQ(view->CellRow[5], 0);
  EXPECT_EQ(view->CellWidthSpan[5], 4);
  EXPECT_EQ(view->CellHeightSpan[5], 4);
  EXPECT_EQ(VisibleCount(), 1);

  const int changes = view->layoutChanges;
  Click(5);
  EXPECT_EQ(Rect(5), QRect(0, 0, 548, 432));
  EXPECT_EQ(VisibleCount(), 1);
  EXPECT_EQ(view->layoutChanges, changes + 1);
}

TEST_F(ViewEnlarge, PartlyCoveredCellStaysVisible) {
  SetGridArea(551, 434);
  Click(10);  // 2 x 2 over columns and rows 2..3
  Click(5);   // 2 x 2 over columns and rows 1..2, half over cell 10
  EXPECT_FALSE(view->CellVisible(6));
  EXPECT_FALSE(view->CellVisible(9));
  EXPECT_TRUE(view->CellVisible(10));
}

// Presses lie outside a cell's top-left corner, where the camera button
// would take them.
TEST_F(ViewSwap, DragFromCamera3OntoCamera7ExchangesPlaces) {
  const QRect three = Rect(2);
  const QRect seven = Rect(6);
  PressAt(three.topLeft() + QPoint(40, 40));
  EXPECT_EQ(view->PressedCell, 2);
  view->HoverCell = nullptr;
  // The release goes to the pressed cell, in its own coordinates.
  ReleaseAt(seven.topLeft() + QPoint(40, 40));
  EXPECT_EQ(view->HoverCell, Cell(2));
  EXPECT_EQ(Rect(2), seven);
  EXPECT_EQ(Rect(6), three);
  EXPECT_EQ(view->CellColumn[2], 2);
  EXPECT_EQ(view->CellRow[2], 1);
  EXPECT_EQ(view->layoutChanges, 2);
}

TEST_F(ViewSwap, ReleaseOverTheUncoveredBorderStripDoesNothing) {
  SetGridArea(551, 434);
  PressAt(Rect(3).topLeft() + QPoint(40, 40));
  ReleaseAt(QPoint(549, 50));
  EXPECT_EQ(view->HoverCell, Cell(3));
  EXPECT_EQ(Rect(3), QRect(411, 0, 137, 108));
  EXPECT_EQ(view->CellWidthSpan[3], 1);
  EXPECT_EQ(view->layoutChanges, 1);
}

TEST_F(ViewSwap, TargetIsTheVisibleCellUnderThePointNotAHiddenOne) {
  SetGridArea(551, 434);
  Click(0);  // 2 x 2, hides cell 1 beneath it
  PressAt(Rect(2).topLeft() + QPoint(40, 40));
  ReleaseAt(QPoint(150, 40));
  EXPECT_EQ(Rect(2), QRect(0, 0, 274, 216));
  EXPECT_EQ(Rect(0), QRect(274, 0, 137, 108));
  EXPECT_EQ(Rect(1), QRect(137, 0, 137, 108));
}

TEST_F(ViewRestore, RightClickRestoresTheSelectedLayout) {
  Click(0);
  view->SwapCells(3, 20);
  ASSERT_EQ(VisibleCount(), 13);
  const int changes = view->layoutChanges;
  Click(9, Qt::RightButton);
  EXPECT_EQ(VisibleCount(), 16);
  EXPECT_EQ(view->CellWidthSpan[0], 1);
  EXPECT_FALSE(view->CellVisible(20));
  EXPECT_EQ(view->layoutChanges, changes + 1);
  EXPECT_EQ(view->PressedCell, 0);  // a right press leaves it
}

TEST_F(ViewRestore, MiddleButtonDoesNothing) {
  Click(0);
  const int changes = view->layoutChanges;
  Click(0, Qt::MiddleButton);
  EXPECT_EQ(view->CellWidthSpan[0], 2);
  EXPECT_EQ(view->layoutChanges, changes);
}

TEST_F(ViewCornerButton, ShownAt19x19AndHiddenAt20x5) {
  QTest::mouseMove(Cell(5), QPoint(30, 30));
  QApplication::processEvents();
  EXPECT_EQ(view->HoverCell, Cell(5));
  EXPECT_FALSE(view->CamBtn->isVisible());
  view->VisPanelMouseMove(Cell(5), QPoint(19, 19));
  EXPECT_TRUE(view->CamBtn->isVisible());
  EXPECT_EQ(view->CamBtn->pos(), Cell(5)->pos());
  view->VisPanelMouseMove(Cell(5), QPoint(20, 5));
  EXPECT_FALSE(view->CamBtn->isVisible());
}

TEST_F(ViewCornerButton, PointerInTheCornerShowsTheButton) {
  QTest::mouseMove(Cell(6), QPoint(30, 30));
  QTest::mouseMove(Cell(6), QPoint(3, 3));
  QApplication::processEvents();
  EXPECT_TRUE(view->CamBtn->isVisible());
  EXPECT_EQ(view->CamBtn->geometry(), QRect(Cell(6)->pos(), QSize(20, 20)));
}

TEST_F(ViewCameraMenu, ChosenCameraMovesIntoTheHoveredCell) {
  const QRect first = Rect(0);
  view->VisPanelMouseMove(Cell(0), QPoint(5, 5));
  view->CamBtn->click();
  QApplication::processEvents();
  EXPECT_TRUE(view->CamPopup->isVisible());
  view->CameraItems[19]->trigger();  // camera 20, hidden in the 4 x 4 grid
  view->CamPopup->hide();
  EXPECT_EQ(Rect(19), first);
  EXPECT_TRUE(view->CellVisible(19));
  // Camera 1 took camera 20's place and its visibility.
  EXPECT_FALSE(view->CellVisible(0));
  EXPECT_EQ(view->layoutChanges, 2);
}

TEST_F(ViewCameraMenu, ChoiceWithoutHoveredCellDoesNothing) {
  view->CameraItems[19]->trigger();
  EXPECT_FALSE(view->CellVisible(19));
  EXPECT_EQ(view->layoutChanges, 1);
}
