#include "view/CellImage.h"

#include <QPainter>

TCellImage::TCellImage(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  UpdateOpaque();
}

bool TCellImage::HasPicture() const { return bitmap_.width() > 0 && bitmap_.height() > 0; }

QSize TCellImage::PixelSize() const { return (QSizeF(size()) * devicePixelRatioF()).toSize(); }

void TCellImage::UpdateOpaque() {
  if (testAttribute(Qt::WA_OpaquePaintEvent) == HasPicture()) return;
  setAttribute(Qt::WA_OpaquePaintEvent, HasPicture());
  // Without a picture the panel's caption has to show again.
  if (!HasPicture() && parentWidget()) parentWidget()->update(geometry());
}

void TCellImage::RowDecoded(int y, const std::uint8_t* pixels) {
  if (y == 0) rowsFor_ = isVisible() ? PixelSize() : QSize();
  if (!rowsFor_.isEmpty()) scaler_.RowArrived(std::as_const(bitmap_), y, pixels, rowsFor_);
}

void TCellImage::Repaint() {
  UpdateOpaque();
  // The frame is scaled now, while much of it is still in the processor's
  // cache; the paint then only copies it.
  if (isVisible() && HasPicture()) {
    const QSize pixels = PixelSize();
    if (!pixels.isEmpty() && bitmap_.size() != pixels) {
      scaled_ = &scaler_.Scale(std::as_const(bitmap_), pixels);
      scaledKey_ = bitmap_.cacheKey();
      scaledSize_ = pixels;
    }
  }
  update();
}

void TCellImage::Clear() {
  bitmap_ = QImage();
  scaler_.Release();
  scaled_ = nullptr;
  scaledKey_ = 0;
  scaledSize_ = QSize();
  UpdateOpaque();
  update();
}

void TCellImage::paintEvent(QPaintEvent*) {
  // The bitmap may have been emptied without Clear.
  UpdateOpaque();
  if (!HasPicture()) return;
  const QSize pixels = PixelSize();
  if (pixels.isEmpty()) return;
  QPainter painter(this);
  if (bitmap_.size() == pixels) {
    painter.drawImage(rect(), bitmap_);
    return;
  }
  if (!scaled_ || bitmap_.cacheKey() != scaledKey_ || pixels != scaledSize_) {
    scaled_ = &scaler_.Scale(std::as_const(bitmap_), pixels);
    scaledKey_ = bitmap_.cacheKey();
    scaledSize_ = pixels;
  }
  painter.drawImage(rect(), *scaled_);
}
