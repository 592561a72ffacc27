#include "view/CellImage.h"

#include <QPainter>

#include <algorithm>

#include "view/CellCaption.h"

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

QSize TCellImage::ZoomedSize(QSize pixels) const {
  return QSize(qRound(pixels.width() * zoom_.Factor()), qRound(pixels.height() * zoom_.Factor()));
}

QSize TCellImage::ScaleTarget(QSize pixels) const {
  if (!zoom_.Zoomed() || plain_) return pixels;
  // Shrunk, the whole picture goes through the scaler, so every pixel of
  // the frame still counts; enlarged, the shown part is interpolated.
  const QSize whole = ZoomedSize(pixels);
  if (whole.width() <= bitmap_.width() && whole.height() <= bitmap_.height()) return whole;
  return QSize();
}

const QImage& TCellImage::ScaledTo(QSize size) {
  if (!scaled_ || bitmap_.cacheKey() != scaledKey_ || size != scaledSize_) {
    scaled_ = &scaler_.Scale(std::as_const(bitmap_), size);
    scaledKey_ = bitmap_.cacheKey();
    scaledSize_ = size;
  }
  return *scaled_;
}

void TCellImage::RowDecoded(int y, const std::uint8_t* pixels) {
  if (y == 0) rowsFor_ = isVisible() ? ScaleTarget(PixelSize()) : QSize();
  if (!rowsFor_.isEmpty()) scaler_.RowArrived(std::as_const(bitmap_), y, pixels, rowsFor_);
}

void TCellImage::Repaint() {
  UpdateOpaque();
  // The frame is scaled now, while much of it is still in the processor's
  // cache; the paint then only copies it.
  if (isVisible() && HasPicture()) {
    const QSize target = ScaleTarget(PixelSize());
    if (!target.isEmpty() && bitmap_.size() != target) ScaledTo(target);
  }
  update();
}

void TCellImage::Clear() {
  bitmap_ = QImage();
  scaler_.Release();
  scaled_ = nullptr;
  scaledKey_ = 0;
  scaledSize_ = QSize();
  std::vector<std::uint8_t>().swap(frameBytes_);
  hasFrame_ = false;
  damaged_ = false;
  zoom_.Reset();
  UpdateOpaque();
  update();
}

void TCellImage::TakeFrame(std::span<const std::uint8_t> bytes, double time, std::uint32_t kinds,
                           bool decoded) {
  frameBytes_.assign(bytes.begin(), bytes.end());
  frameTime_ = time;
  frameKinds_ = kinds;
  hasFrame_ = true;
  damaged_ = !decoded;
  // A frame that did not decode was not repainted; its mark still has to show.
  update();
}

void TCellImage::SetCaption(bool shown, bool withDate) {
  if (shown == captionShown_ && withDate == captionDates_) return;
  captionShown_ = shown;
  captionDates_ = withDate;
  update();
}

QString TCellImage::CaptionText() const {
  if (!HasPicture() || !hasFrame_ || !captionShown_ || camera_ <= 0) return {};
  return CellCaptionText(camera_, frameTime_, captionDates_);
}

double TCellImage::MostZoom() const {
  const QSize pixels = PixelSize();
  if (!HasPicture() || pixels.isEmpty()) return 1.0;
  const double fit = std::min(double(pixels.width()) / bitmap_.width(),
                              double(pixels.height()) / bitmap_.height());
  return std::max(1.0, kMostMagnification / fit);
}

void TCellImage::ZoomAt(QPointF at, double by) {
  if (!HasPicture()) return;
  zoom_.ZoomAt(at, QSizeF(size()), by, MostZoom());
  Repaint();
}

void TCellImage::PanBy(QPointF delta) {
  zoom_.PanBy(delta, QSizeF(size()));
  update();
}

void TCellImage::ResetZoom() {
  if (!zoom_.Zoomed()) return;
  zoom_.Reset();
  Repaint();
}

void TCellImage::PaintPicture(QPainter& painter, QSize pixels) {
  if (!zoom_.Zoomed() || plain_) {
    painter.drawImage(rect(), bitmap_.size() == pixels ? bitmap_ : ScaledTo(pixels));
    return;
  }
  const QSize whole = ScaleTarget(pixels);
  if (whole.isEmpty()) {
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(rect()), bitmap_, zoom_.Part(QSizeF(bitmap_.size())));
    return;
  }
  const QImage& scaled = whole == bitmap_.size() ? bitmap_ : ScaledTo(whole);
  const QPoint from(
      std::clamp(qRound(zoom_.Origin().x() * whole.width()), 0, whole.width() - pixels.width()),
      std::clamp(qRound(zoom_.Origin().y() * whole.height()), 0, whole.height() - pixels.height()));
  painter.drawImage(rect(), scaled, QRect(from, pixels));
}

void TCellImage::paintEvent(QPaintEvent*) {
  // The bitmap may have been emptied without Clear.
  UpdateOpaque();
  const QSize pixels = PixelSize();
  if (pixels.isEmpty()) return;
  QPainter painter(this);
  if (HasPicture()) PaintPicture(painter, pixels);
  if (plain_) return;
  QString caption = CaptionText();
  // The time matters more than the date, and the marks more than both.
  if (captionDates_ && !caption.isEmpty() && !CaptionFits(rect(), caption))
    caption = CellCaptionText(camera_, frameTime_, false);
  if (!caption.isEmpty()) DrawCellCaption(painter, rect(), caption, frameKinds_);
  if (HasPicture() && zoom_.Zoomed()) DrawZoomFactor(painter, rect(), zoom_.Factor());
  if (damaged_) DrawDamageMark(painter, rect());
}
