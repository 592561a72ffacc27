// The grid: first showing, cell arithmetic, resizing, the grid-size button,
// stored layouts.

#include "tests/view/ViewRig.h"

#include <QToolButton>

namespace {

// A layout of grid size g with cell 0 spanning 2 x 2 at the top left and
// the other cells of the plain grid that it does not cover.
CameraLayout BigFirstCell(int g) {
  CameraLayout layout = PlainLayout(QStringLiteral("Вход"), g);
  layout.WidthSpan[0] = layout.HeightSpan[0] = 2;
  layout.Visible[1] = layout.Visible[g] = layout.Visible[g + 1] = 0;
  return layout;
}

}  // namespace

using ViewShow = ViewTest;
using ViewGrid = ViewTest;
using ViewGridSize = ViewTest;
using ViewLayout = ViewTest;

TEST_F(ViewShow, FirstShowingShowsCameras1To16InFourByFour) {
  EXPECT_EQ(view->GridSize, 4);
  EXPECT_EQ(CurrentLayout, -1);
  EXPECT_EQ(view->PressedCell, -1);
  EXPECT_EQ(view->layoutChanges, 1);
  for (int i = 0; i < CellCount; ++i) {
    EXPECT_EQ(view->CellVisible(i), i < 16) << i;
    if (i < 16) {
      EXPECT_EQ(view->CellColumn[i], i % 4);
      EXPECT_EQ(view->CellRow[i], i / 4);
      EXPECT_EQ(view->CellWidthSpan[i], 1);
    }
    EXPECT_EQ(Cell(i)->Caption(), QStringLiteral("Нет сигнала"));
    EXPECT_TRUE(view->CellImages[i]->Bitmap().isNull());
    EXPECT_EQ(view->CellTime[i], 0.0);
  }
  EXPECT_TRUE(view->FullBtn->isEnabled());
  EXPECT_FALSE(view->EscFullBtn->isEnabled());
  EXPECT_FALSE(view->CamBtn->isVisible());
}

TEST_F(ViewShow, CameraMenuHoldsCameras1To32AndOnlyTheirCellsShowHints) {
  ASSERT_EQ(view->CamPopup->actions().size(), CameraCount);
  for (int i = 0; i < CellCount; ++i) {
    if (i < CameraCount) {
      EXPECT_EQ(view->CamPopup->actions()[i]->text(), QString::number(i + 1));
    }
    EXPECT_EQ(Cell(i)->ShowHint(), i < CameraCount) << i;
  }
}

TEST_F(ViewGrid, CellSizeIsGridAreaDivGridSizeLeavingRemainderUncovered) {
  SetGridArea(551, 434);
  view->ApplyLayout(-1);
  EXPECT_EQ(view->CellWidth(), 137);
  EXPECT_EQ(view->CellHeight(), 108);
  EXPECT_EQ(Rect(0), QRect(0, 0, 137, 108));
  EXPECT_EQ(Rect(5), QRect(137, 108, 137, 108));
  // The last 3 columns and 2 rows of pixels stay uncovered.
  EXPECT_EQ(Rect(15).right() + 1, 548);
  EXPECT_EQ(Rect(15).bottom() + 1, 432);
}

TEST_F(ViewGrid, ResizePlacesCellsFromTheSnapshotWithoutLayoutChanged) {
  SetGridArea(551, 434);
  Click(5);  // 2 x 2 at column 1, row 1
  view->VisPanelMouseMove(Cell(5), QPoint(3, 3));
  ASSERT_FALSE(view->CamBtn->isHidden());
  const int changes = view->layoutChanges;
  SetGridArea(800, 600);
  EXPECT_EQ(Rect(5), QRect(200, 150, 400, 300));
  EXPECT_FALSE(view->CellVisible(10));
  EXPECT_EQ(view->layoutChanges, changes);
  // The corner button does not stay behind where the cell's corner was.
  EXPECT_TRUE(view->CamBtn->isHidden());
}

TEST_F(ViewGridSize, ButtonGoesFiveSixFourWithThePlainGridEachTime) {
  const int expected[] = {25, 36, 16};
  for (int n : expected) {
    CurrentLayout = 3;
    const int changes = view->layoutChanges;
    view->SetBtn->click();
    EXPECT_EQ(view->GridSize * view->GridSize, n);
    EXPECT_EQ(VisibleCount(), n);
    EXPECT_EQ(CurrentLayout, -1);
    EXPECT_EQ(view->layoutChanges, changes + 1);
  }
}

TEST_F(ViewGridSize, AnyOtherSizeGoesToFour) {
  layouts.push_back(BigFirstCell(3));
  view->ApplyLayout(0);
  EXPECT_EQ(view->GridSize, 3);
  view->SetBtn->click();
  EXPECT_EQ(view->GridSize, 4);
  EXPECT_EQ(VisibleCount(), 16);
}

TEST_F(ViewLayout, StoredLayoutSetsGridSizeAndEveryCell) {
  SetGridArea(600, 500);
  layouts.push_back(BigFirstCell(5));
  view->ApplyLayout(0);
  EXPECT_EQ(CurrentLayout, 0);
  EXPECT_EQ(view->GridSize, 5);
  EXPECT_EQ(Rect(0), QRect(0, 0, 240, 200));
  EXPECT_FALSE(view->CellVisible(1));
  EXPECT_FALSE(view->CellVisible(6));
  EXPECT_TRUE(view->CellVisible(24));
  EXPECT_EQ(view->CellWidthSpan[0], 2);
  EXPECT_EQ(VisibleCount(), 22);
  // ApplyLayout itself leaves LayoutChanged to its callers.
  EXPECT_EQ(view->layoutChanges, 1);
  // The next showing applies it again.
  view->hide();
  view->SetBtn->click();
  CurrentLayout = 0;
  view->show();
  QApplication::processEvents();
  EXPECT_EQ(view->GridSize, 5);
  EXPECT_FALSE(view->CellVisible(1));
}

TEST_F(ViewLayout, UnusableRecordOrIndexGivesThePlainGrid) {
  CameraLayout broken = BigFirstCell(5);
  broken.GridSize = 0;
  layouts.push_back(broken);
  view->ApplyLayout(0);
  EXPECT_EQ(CurrentLayout, -1);
  EXPECT_EQ(VisibleCount(), 16);
  view->ApplyLayout(7);
  EXPECT_EQ(CurrentLayout, -1);
  EXPECT_EQ(VisibleCount(), 16);
}

TEST_F(ViewLayout, ShowingListsTheLayoutNamesWithNoneSelected) {
  layouts.push_back(BigFirstCell(4));
  CameraLayout second = BigFirstCell(5);
  second.SetNameText(QStringLiteral("Склад 2"));
  layouts.push_back(second);
  view->hide();
  view->show();
  QApplication::processEvents();
  ASSERT_EQ(view->Configs->count(), 2);
  EXPECT_EQ(view->Configs->item(0)->text(), QStringLiteral("Вход"));
  EXPECT_EQ(view->Configs->item(1)->text(), QStringLiteral("Склад 2"));
  EXPECT_TRUE(view->Configs->selectedItems().isEmpty());
}
