// TView: full screen (the maximised window without the side panel), the key
// that leaves it, and the default-window button.

#include <QKeyEvent>
#include <QLayout>
#include <QToolButton>

#include "view/CellPanel.h"
#include "view/View.h"

bool TView::IsFullScreen() const {
  return (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) != 0;
}

void TView::RestoreNormalState() {
  const QRect normal = normalGeometry();
  setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen));
  // A window manager restores the normal size only some time later; a
  // window hidden meanwhile would be shown at the maximised size next time.
  if (normal.isValid()) setGeometry(normal);
}

void TView::SizeItemClick() {
  VisPanel->setUpdatesEnabled(false);
  if (IsFullScreen()) {
    FullBtn->setEnabled(true);
    EscFullBtn->setEnabled(false);
    TabPanel->show();
    RestoreNormalState();
  } else {
    FullBtn->setEnabled(false);
    EscFullBtn->setEnabled(true);
    TabPanel->hide();
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
  }
  VisPanel->setUpdatesEnabled(true);
}

void TView::FormKeyPress(QChar) {
  if (IsFullScreen()) SizeItemClick();
}

void TView::keyPressEvent(QKeyEvent* event) {
  const bool wasFullScreen = IsFullScreen();
  if (!event->text().isEmpty()) FormKeyPress(event->text().at(0));
  // A key only ever leaves full screen. Esc is no exception: a dialog's Esc
  // would close the window, and a second Esc meant to leave full screen
  // would end the operator's viewing.
  if (wasFullScreen || event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TView::Button43Click() {
  if (IsFullScreen()) {
    SizeItemClick();
    // The window system may restore the normal size later; the layout for
    // the present size, with the side panel back, gives the right margins.
    layout()->activate();
  }
  resize(width() + DefaultGridWidth - VisPanel->contentsRect().width() + 2,
         height() + DefaultGridHeight - VisPanel->contentsRect().height() + 2);
}
