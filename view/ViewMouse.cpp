// TView: the mouse on the grid (hover and the corner button, enlarging by
// click, swapping by drag, the right-click restore) and the camera menu.

#include <QAction>
#include <QMenu>
#include <QToolButton>

#include "view/CellPanel.h"
#include "view/View.h"

namespace {

// The corner of a cell in which the pointer brings up the camera button.
constexpr int kCornerSize = 20;

}  // namespace

void TView::VisPanelMouseMove(TCellPanel* sender, QPoint pos) {
  if (PanMove(sender, pos)) return;
  // Raising a cell repaints; a move that arrives meanwhile is dropped.
  if (moveBusy_) return;
  moveBusy_ = true;
  HoverCell = sender;
  sender->raise();
  if (pos.x() >= 0 && pos.x() < kCornerSize && pos.y() >= 0 && pos.y() < kCornerSize) {
    CamBtn->move(sender->pos());
    CamBtn->show();
    CamBtn->raise();
  } else {
    CamBtn->hide();
  }
  moveBusy_ = false;
}

void TView::VisPanelMouseDown(TCellPanel* sender, Qt::MouseButton button, QPoint pos) {
  HoverCell = sender;
  if (button != Qt::LeftButton) return;
  // In a zoomed cell the drag moves the picture (ViewZoom.cpp).
  if (ZoomedImage(sender)) {
    StartPan(sender, pos);
    return;
  }
  PressedCell = CellIndex(sender);
}

void TView::VisPanelMouseUp(TCellPanel* sender, Qt::MouseButton button, QPoint pos) {
  HoverCell = sender;
  if (EndPan(sender, button)) return;
  const QPoint p = pos + sender->pos();
  int target = -1;
  for (int i = 0; i < CellCount; ++i) {
    if (!CellVisible(i)) continue;
    const QRect r = CellPanels[i]->geometry();
    if (r.left() <= p.x() && p.x() < r.left() + r.width() && r.top() <= p.y() &&
        p.y() < r.top() + r.height()) {
      target = i;
      break;
    }
  }
  if (target < 0) return;
  if (button == Qt::LeftButton) {
    if (PressedCell < 0) return;
    if (target == PressedCell)
      EnlargeCell(target);
    else
      SwapCells(target, PressedCell);
  } else if (button == Qt::RightButton) {
    RetBtnClick();
  }
}

QPoint TView::CamPopupPosition() const {
  // The menu opens over the corner button, so the list starts where the
  // operator clicked.
  return VisPanel->mapToGlobal(CamBtn->pos());
}

void TView::CamBtnClick() { CamPopup->popup(CamPopupPosition()); }

void TView::MenuButtonClick(QObject* sender) {
  QString caption;
  if (const auto* action = qobject_cast<const QAction*>(sender))
    caption = action->text();
  else if (const auto* button = qobject_cast<const QAbstractButton*>(sender))
    caption = button->text();
  bool ok = false;
  const int k = caption.toInt(&ok) - 1;
  const int h = CellIndex(HoverCell);
  if (!ok || k < 0 || k >= CellCount || h < 0) return;
  SwapCells(h, k);
}
