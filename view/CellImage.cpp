#include "view/CellImage.h"

#include <QPainter>

TCellImage::TCellImage(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  // The control paints the whole bitmap or nothing; the panel behind it
  // paints the rest.
  setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void TCellImage::Clear() {
  bitmap_ = QImage();
  update();
}

void TCellImage::paintEvent(QPaintEvent*) {
  if (bitmap_.isNull() || bitmap_.width() == 0 || bitmap_.height() == 0) return;
  QPainter painter(this);
  // Bilinear filtering: a 704 x 576 frame shrunk into a small cell stays
  // legible, and it is cheap enough to repaint at playback rate.
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(rect(), bitmap_);
}
