// Zooming into a cell's picture: the part shown as the pointer zooms and
// pans it, and the mouse on a zoomed cell moves its picture instead of the
// cell.

#include "tests/view/ViewRig.h"

#include <QWheelEvent>

#include <cmath>
#include <vector>

#include "view/PictureZoom.h"

namespace {

const QSizeF kCell(100, 80);

struct ZoomRow {
  const char* label;
  QPointF at;
  std::vector<double> steps;
  double factor;
  QPointF origin;
};

class PictureZoomSteps : public ::testing::TestWithParam<ZoomRow> {};

TEST_P(PictureZoomSteps, ThePointUnderThePointerStays) {
  PictureZoom zoom;
  for (const double by : GetParam().steps) zoom.ZoomAt(GetParam().at, kCell, by, 8.0);
  EXPECT_DOUBLE_EQ(zoom.Factor(), GetParam().factor);
  EXPECT_NEAR(zoom.Origin().x(), GetParam().origin.x(), 1e-12);
  EXPECT_NEAR(zoom.Origin().y(), GetParam().origin.y(), 1e-12);
}

INSTANTIATE_TEST_SUITE_P(
    Zoom, PictureZoomSteps,
    ::testing::Values(ZoomRow{"InAndOutComesBack", {30, 20}, {2, 1.5, 1 / 1.5, 0.5}, 1, {0, 0}},
                      // At (0.25, 0.75) of the picture, a quarter of it shown.
                      ZoomRow{"InAroundAPoint", {25, 60}, {4}, 4, {0.1875, 0.5625}},
                      ZoomRow{"NoFurtherThanMost", {50, 40}, {100}, 8, {0.4375, 0.4375}},
                      ZoomRow{"OutPastWholeIsWhole", {50, 40}, {2, 0.25}, 1, {0, 0}},
                      ZoomRow{"CornerStaysInside", {100, 80}, {2}, 2, {0.5, 0.5}}),
    [](const ::testing::TestParamInfo<ZoomRow>& info) { return std::string(info.param.label); });

TEST(PictureZoomPan, StopsAtThePicturesEdgesAndOnlyWhileZoomed) {
  PictureZoom zoom;
  zoom.PanBy({30, 30}, kCell);
  EXPECT_EQ(zoom.Origin(), QPointF(0, 0));
  zoom.ZoomAt({50, 40}, kCell, 2, 8);
  ASSERT_EQ(zoom.Origin(), QPointF(0.25, 0.25));
  zoom.PanBy({10, -8}, kCell);  // the picture follows the pointer
  EXPECT_EQ(zoom.Origin(), QPointF(0.2, 0.3));
  zoom.PanBy({1000, 1000}, kCell);
  EXPECT_EQ(zoom.Origin(), QPointF(0, 0));
  zoom.PanBy({-1000, -1000}, kCell);
  EXPECT_EQ(zoom.Origin(), QPointF(0.5, 0.5));
  EXPECT_EQ(zoom.Part({640, 480}), QRectF(320, 240, 320, 240));
}

class CellZoom : public ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    SetGridArea(551, 434);
    Image()->Bitmap() = QImage(352, 288, QImage::Format_RGB32);
    Image()->Bitmap().fill(Qt::darkGreen);
    Image()->Repaint();
  }
  TCellImage* Image() const { return view->CellImages[5]; }
  void Wheel(int cell, QPoint at, int angle) {
    QWheelEvent event(at, Cell(cell)->mapToGlobal(at), {}, {0, angle}, Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(Cell(cell), &event);
  }
  QPoint Middle() const { return Rect(5).center(); }
};

TEST_F(CellZoom, WheelZoomsUpToEightFramePixelsAndOnlyWherePictureIs) {
  Wheel(5, {60, 50}, 120);
  EXPECT_DOUBLE_EQ(Image()->Zoom().Factor(), std::sqrt(2.0));
  Wheel(5, {60, 50}, -120);
  EXPECT_FALSE(Image()->Zoom().Zoomed());
  Wheel(5, {60, 50}, 120 * 40);
  // Each of the 352 x 288 frame pixels 8 screen pixels wide and high at least.
  EXPECT_NEAR(Image()->Zoom().Factor(),
              std::max(8.0 * 352 / Image()->width(), 8.0 * 288 / Image()->height()), 1e-9);
  Wheel(6, {60, 50}, 120);  // no picture in it
  EXPECT_FALSE(view->CellImages[6]->Zoom().Zoomed());
}

TEST_F(CellZoom, DragInAZoomedCellPansAndDoubleClickShowsItWholeWithoutMovingCells) {
  Wheel(5, {60, 50}, 240);
  const QPointF before = Image()->Zoom().Origin();
  const int changes = view->layoutChanges;
  PressAt(Middle());
  view->VisPanelMouseMove(Cell(5), Middle() - Rect(5).topLeft() + QPoint(20, 0));
  ReleaseAt(Rect(6).center());  // over another camera: no swap
  EXPECT_LT(Image()->Zoom().Origin().x(), before.x());
  EXPECT_EQ(Rect(5).width(), 137);
  EXPECT_EQ(view->layoutChanges, changes);

  QTest::mouseDClick(view->windowHandle(), Qt::LeftButton, {},
                     view->VisPanel->mapTo(view.get(), Middle()));
  QApplication::processEvents();
  EXPECT_FALSE(Image()->Zoom().Zoomed());
  EXPECT_EQ(Rect(5).width(), 137);  // the double click enlarged nothing
  EXPECT_EQ(view->layoutChanges, changes);
  // Whole again, a click enlarges as ever.
  Click(5);
  EXPECT_EQ(Rect(5).width(), 274);
}

}  // namespace
