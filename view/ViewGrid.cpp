// TView: cell geometry. A cell's rectangle in VisPanel is its grid position
// and spans times the cell size, cellW = VisPanel width div GridSize and
// cellH = VisPanel height div GridSize; the remainder pixels at the right and
// bottom stay uncovered.

#include <QToolButton>
#include <QtGlobal>
#include <algorithm>

#include "view/CellPanel.h"
#include "view/View.h"

namespace {

// Layout records are not validated when read; a coordinate far outside any
// screen is clamped so that its product with the cell size stays an int.
constexpr std::int64_t kMaxPixel = 1 << 20;

int ToPixel(std::int64_t units, int cellSize) {
  return static_cast<int>(std::clamp<std::int64_t>(units * cellSize, -kMaxPixel, kMaxPixel));
}

}  // namespace

int TView::CellWidth() const {
  // A grid area narrower than the grid would make a zero cell size, which
  // CaptureGrid divides by.
  return std::max(1, VisPanel->width() / std::max(1, GridSize));
}

int TView::CellHeight() const {
  return std::max(1, VisPanel->height() / std::max(1, GridSize));
}

bool TView::CellVisible(int i) const {
  return i >= 0 && i < CellCount && CellPanels[i] && !CellPanels[i]->isHidden();
}

std::vector<int> TView::VisibleCameras() const {
  std::vector<int> cameras;
  for (int i = 0; i < CameraCount; ++i)
    if (CellVisible(i)) cameras.push_back(i + 1);
  return cameras;
}

int TView::CellIndex(const QObject* panel) const {
  if (!panel) return -1;
  for (int i = 0; i < CellCount; ++i)
    if (CellPanels[i] == panel) return i;
  return -1;
}

void TView::PlaceCell(int i, std::int64_t column, std::int64_t row, std::int64_t widthSpan,
                      std::int64_t heightSpan, bool visible) {
  TCellPanel* cell = CellPanels[i];
  if (!cell) return;
  const int cellW = CellWidth();
  const int cellH = CellHeight();
  cell->setGeometry(ToPixel(column, cellW), ToPixel(row, cellH), ToPixel(widthSpan, cellW),
                    ToPixel(heightSpan, cellH));
  cell->setVisible(visible);
}

void TView::CaptureGrid() {
  const int cellW = CellWidth();
  const int cellH = CellHeight();
  for (int i = 0; i < CellCount; ++i) {
    const TCellPanel* cell = CellPanels[i];
    if (!cell) continue;
    const QRect r = cell->geometry();
    CellRow[i] = r.top() / cellH;
    CellHeightSpan[i] = r.height() / cellH;
    CellColumn[i] = r.left() / cellW;
    CellWidthSpan[i] = r.width() / cellW;
    CellShown[i] = !cell->isHidden();
  }
}

void TView::ApplyLayout(int index) {
  const bool stored = index >= 0 && static_cast<std::size_t>(index) < Layouts.size() &&
                      Layouts[static_cast<std::size_t>(index)].Usable();
  // Placing 36 cells one by one would repaint the grid area 36 times.
  VisPanel->setUpdatesEnabled(false);
  if (stored) {
    const CameraLayout& layout = Layouts[static_cast<std::size_t>(index)];
    GridSize = layout.GridSize;
    for (int i = 0; i < CellCount; ++i)
      PlaceCell(i, layout.Column[i], layout.Row[i], layout.WidthSpan[i], layout.HeightSpan[i],
                layout.Visible[i] != 0);
  } else {
    // A layout that cannot be applied gives the plain grid, which is also
    // what -1 stands for.
    index = -1;
    if (GridSize <= 0) GridSize = 4;
    for (int i = 0; i < CellCount; ++i)
      PlaceCell(i, i % GridSize, i / GridSize, 1, 1, i < GridSize * GridSize);
  }
  VisPanel->setUpdatesEnabled(true);
  CurrentLayout = index;
  CaptureGrid();
}

void TView::VisPanelResize() {
  VisPanel->setUpdatesEnabled(false);
  for (int i = 0; i < CellCount; ++i)
    PlaceCell(i, CellColumn[i], CellRow[i], CellWidthSpan[i], CellHeightSpan[i], CellShown[i]);
  VisPanel->setUpdatesEnabled(true);
  // The corner it stood in has moved away from under the pointer; the next
  // move over a corner brings it back.
  CamBtn->hide();
}

void TView::SwapCells(int a, int b) {
  if (a < 0 || a >= CellCount || b < 0 || b >= CellCount) return;
  TCellPanel* cellA = CellPanels[a];
  TCellPanel* cellB = CellPanels[b];
  if (!cellA || !cellB) return;
  const QRect rectA = cellA->geometry();
  const bool shownA = !cellA->isHidden();
  cellA->setGeometry(cellB->geometry());
  cellA->setVisible(!cellB->isHidden());
  cellB->setGeometry(rectA);
  cellB->setVisible(shownA);
  cellB->raise();
  CaptureGrid();
  LayoutChanged();
}

void TView::EnlargeCell(int i) {
  TCellPanel* cell = CellPanels[i];
  if (!cell) return;
  const int cellW = CellWidth();
  const int cellH = CellHeight();
  QRect r = cell->geometry();
  if (VisPanel->width() - cellW >= r.width() && VisPanel->height() - cellH >= r.height()) {
    r.setWidth(r.width() + cellW);
    r.setHeight(r.height() + cellH);
  }
  // A cell at the right or bottom border grows towards the left or the top.
  if (r.left() + r.width() > VisPanel->width()) r.translate(-cellW, 0);
  if (r.top() + r.height() > VisPanel->height()) r.translate(0, -cellH);
  cell->setGeometry(r);
  for (int j = 0; j < CellCount; ++j) {
    TCellPanel* other = CellPanels[j];
    if (j == i || !other) continue;
    const QRect o = other->geometry();
    if (o.left() >= r.left() && o.top() >= r.top() && o.left() + o.width() <= r.left() + r.width() &&
        o.top() + o.height() <= r.top() + r.height())
      other->hide();
  }
  cell->raise();
  CaptureGrid();
  LayoutChanged();
}

void TView::SetBtnClick() {
  GridSize = GridSize == 4 ? 5 : GridSize == 5 ? 6 : 4;
  ApplyLayout(-1);
  LayoutChanged();
}

void TView::RetBtnClick() {
  ApplyLayout(CurrentLayout);
  LayoutChanged();
}
