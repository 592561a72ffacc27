#include "view/CellImage.h"

#include <QPainter>

#include <algorithm>
#include <memory>

#include "decode/DecodeScale.h"
#include "decode/FrameDecoder.h"
#include "view/CellCaption.h"
#include "view/CellPicture.h"

namespace {

// The full-size decode of a failed frame over image, as a cell's own
// bitmap always received it.
class OverTarget final : public FrameTarget {
 public:
  explicit OverTarget(QImage& image) : image_(image) {}
  QImage& Bitmap() override { return image_; }
  void Repaint() override {}

 private:
  QImage& image_;
};

}  // namespace

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
  const QSize frame = FrameSize();
  if (whole.width() <= frame.width() && whole.height() <= frame.height()) return whole;
  return QSize();
}

const QImage& TCellImage::ScaledTo(QSize size) {
  if (scaled_.isNull() || bitmap_.cacheKey() != scaledKey_ || size != scaledSize_) {
    const QImage& made = scaler_.Scale(std::as_const(bitmap_), size);
    if (&made == &bitmap_) return bitmap_;
    // The scaler's buffer changes hands, so neither is copied.
    if (scaler_.MadeLast(made))
      scaler_.SwapResult(scaled_);
    else
      scaled_ = made;
    scaledKey_ = bitmap_.cacheKey();
    scaledSize_ = size;
  }
  return scaled_;
}

QSize TCellImage::FrameSize() const { return frame_.isEmpty() ? bitmap_.size() : frame_; }

int TCellImage::NeededScale(QSize pixels) const {
  if (zoom_.Zoomed() || plain_) return 1;
  const QSize frame = FrameSize();
  return DecodeScaleFor(frame.width(), frame.height(), pixels.width(), pixels.height());
}

FrameStream* TCellImage::PictureSource() {
  switch (source_) {
    case Source::Stored: return &frameBytes_;
    case Source::Kept: return &kept_;
    case Source::None: break;
  }
  return nullptr;
}

void TCellImage::EnsureScale(int scale) {
  FrameStream* source = PictureSource();
  if (scale_ <= scale || !source) return;
  FrameDecoder decoder;
  // It decoded before: whatever libjpeg had to say was said then.
  decoder.SetMessagesToStandardError(false);
  ImageTarget target(scale);
  if (decoder.Decode(*source, target) != 1) return;
  bitmap_.swap(target.Bitmap());
  scale_ = scale;
  if (scale == 1) frame_ = QSize();
}

QImage& TCellImage::Bitmap() {
  EnsureScale(1);
  source_ = Source::None;
  kept_ = FrameStream();
  frame_ = QSize();
  scale_ = 1;
  return bitmap_;
}

TCellImage::PictureRequest TCellImage::Request() const {
  PictureRequest request;
  request.shown = ScaleTarget(PixelSize());
  request.largestScale = zoom_.Zoomed() || plain_ ? 1 : kDecodeScales[0];
  return request;
}

bool TCellImage::TakePicture(CellPicture& picture, FrameStream& bytes) {
  if (picture.decoded) {
    bitmap_.swap(picture.bitmap);
    scale_ = picture.scale;
    frame_ = picture.scale > 1 ? picture.frame : QSize();
    if (!picture.shown.isNull()) {
      scaled_.swap(picture.shown);
      scaledKey_ = bitmap_.cacheKey();
      scaledSize_ = picture.shownSize;
    }
    UpdateOpaque();
    update();
    return true;
  }
  if (!picture.wroteBitmap) return false;
  // The frame failed after it had reached the bitmap: as a full-size
  // decode leaves it, over the full picture, which is all there is then.
  QImage& full = Bitmap();
  FrameDecoder decoder;
  decoder.SetMessagesToStandardError(false);  // the picture's maker had its say
  OverTarget target(full);
  decoder.Decode(bytes, target);
  return false;
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
  scale_ = 1;
  frame_ = QSize();
  scaler_.Release();
  scaled_ = QImage();
  scaledKey_ = 0;
  scaledSize_ = QSize();
  frameBytes_ = FrameStream();
  kept_ = FrameStream();
  source_ = Source::None;
  hasFrame_ = false;
  damaged_ = false;
  zoom_.Reset();
  UpdateOpaque();
  update();
}

void TCellImage::TakeFrame(std::span<const std::uint8_t> bytes, double time, std::uint32_t kinds,
                           bool decoded) {
  // A frame that did not decode leaves the picture of the last one that
  // did, whose bytes are kept while they are its source.
  if (!decoded && source_ == Source::Stored) {
    kept_ = std::move(frameBytes_);
    frameBytes_ = FrameStream();
    source_ = Source::Kept;
  } else if (decoded) {
    source_ = Source::Stored;
    kept_ = FrameStream();
  }
  frameBytes_.Clear();
  frameBytes_.Append(bytes.data(), bytes.size());
  frameTime_ = time;
  frameKinds_ = kinds;
  hasFrame_ = true;
  damaged_ = !decoded;
  // A frame that did not decode was not repainted; its mark still has to show.
  update();
}

std::size_t TCellImage::HeldBytes() const {
  return std::size_t(bitmap_.sizeInBytes() + scaled_.sizeInBytes()) + scaler_.HeldBytes() +
         frameBytes_.Capacity() + kept_.Capacity();
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
  const QSize frame = FrameSize();
  const double fit = std::min(double(pixels.width()) / frame.width(),
                              double(pixels.height()) / frame.height());
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
  EnsureScale(NeededScale(pixels));
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
