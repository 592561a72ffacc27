#include "view/CellPanel.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

TCellPanel::TCellPanel(QWidget* parent) : QFrame(parent) {
  // A panel is opaque: nothing of the grid area behind a cell shows through.
  setAutoFillBackground(true);
}

void TCellPanel::SetCaption(const QString& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  update();
}

bool TCellPanel::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip && !showHint_) {
    event->ignore();
    return true;
  }
  return QFrame::event(event);
}

void TCellPanel::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  if (caption_.isEmpty()) return;
  QPainter painter(this);
  painter.setPen(palette().color(QPalette::WindowText));
  painter.drawText(contentsRect(), Qt::AlignCenter, caption_);
}

void TCellPanel::mousePressEvent(QMouseEvent* event) {
  emit MouseDown(this, event->button(), event->position().toPoint());
  event->accept();
}

void TCellPanel::mouseMoveEvent(QMouseEvent* event) {
  emit MouseMove(this, event->position().toPoint());
  event->accept();
}

void TCellPanel::mouseReleaseEvent(QMouseEvent* event) {
  emit MouseUp(this, event->button(), event->position().toPoint());
  event->accept();
}

void TCellPanel::mouseDoubleClickEvent(QMouseEvent* event) {
  emit MouseDoubleClick(this, event->button(), event->position().toPoint());
  event->accept();
}

void TCellPanel::wheelEvent(QWheelEvent* event) {
  emit MouseWheel(this, event->position().toPoint(), event->angleDelta());
  event->accept();
}

void TCellPanel::resizeEvent(QResizeEvent* event) {
  QFrame::resizeEvent(event);
  emit Resized(this);
}
