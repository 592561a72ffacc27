// TView: zooming into a cell's picture with the wheel, moving the zoomed
// picture with a left drag, and the double click that shows it whole again.

#include <cmath>

#include "view/CellImage.h"
#include "view/CellPanel.h"
#include "view/View.h"

namespace {

// One notch of the wheel (120 eighths of a degree) zooms by the square root
// of 2: four notches from the whole picture to 4x.
constexpr double kNotchAngle = 120.0;
const double kNotchFactor = std::sqrt(2.0);

}  // namespace

TCellImage* TView::ZoomedImage(const TCellPanel* cell) const {
  const int i = CellIndex(cell);
  if (i < 0 || !CellImages[i] || !CellImages[i]->Zoom().Zoomed()) return nullptr;
  return CellImages[i];
}

void TView::UpdateCellCursor(TCellPanel* cell) {
  Qt::CursorShape shape = Qt::PointingHandCursor;
  if (ZoomedImage(cell)) shape = panCell_ == cell ? Qt::ClosedHandCursor : Qt::OpenHandCursor;
  if (cell->cursor().shape() != shape) cell->setCursor(shape);
}

void TView::VisPanelMouseWheel(TCellPanel* sender, QPoint pos, QPoint angleDelta) {
  const int i = CellIndex(sender);
  // Only a camera's picture on screen zooms; an empty cell has nothing to
  // enlarge.
  if (i < 0 || i >= CameraCount || !CellImages[i] || CellImages[i]->isHidden()) return;
  if (angleDelta.y() == 0) return;
  TCellImage* image = CellImages[i];
  image->ZoomAt(image->mapFrom(sender, QPointF(pos)),
                std::pow(kNotchFactor, angleDelta.y() / kNotchAngle));
  UpdateCellCursor(sender);
}

void TView::VisPanelMouseDoubleClick(TCellPanel* sender, Qt::MouseButton button, QPoint pos) {
  if (button == Qt::LeftButton) {
    if (TCellImage* image = ZoomedImage(sender)) {
      image->ResetZoom();
      // The release that ends the double click is that of a drag that
      // moves nothing: it neither enlarges nor swaps.
      panCell_ = sender;
      panLast_ = pos;
      UpdateCellCursor(sender);
      return;
    }
  }
  // A cell that is not zoomed takes it as a second press, as it always did.
  VisPanelMouseDown(sender, button, pos);
}

void TView::StartPan(TCellPanel* cell, QPoint pos) {
  panCell_ = cell;
  panLast_ = pos;
  UpdateCellCursor(cell);
}

bool TView::PanMove(TCellPanel* cell, QPoint pos) {
  if (!panCell_ || cell != panCell_) return false;
  const int i = CellIndex(cell);
  if (i >= 0 && CellImages[i]) CellImages[i]->PanBy(QPointF(pos - panLast_));
  panLast_ = pos;
  return true;
}

bool TView::EndPan(TCellPanel* cell, Qt::MouseButton button) {
  if (!panCell_ || cell != panCell_ || button != Qt::LeftButton) return false;
  panCell_ = nullptr;
  UpdateCellCursor(cell);
  return true;
}
