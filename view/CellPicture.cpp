#include "view/CellPicture.h"

#include <algorithm>
#include <utility>

#include "common/FrameStream.h"
#include "decode/DecodeScale.h"
#include "decode/FrameDecoder.h"

CellPictureMaker::CellPictureMaker(FrameDecoder& decoder) : decoder_(decoder) {
  decoder_.SetMessagesToStandardError(false);
}

int CellPictureMaker::DecodeScale(int width, int height) {
  into_->frame = QSize(width, height);
  into_->scale = std::min(largestScale_,
                          DecodeScaleFor(width, height, shown_.width(), shown_.height()));
  return into_->scale;
}

void CellPictureMaker::RowDecoded(int y, const std::uint8_t* pixels) {
  if (!shown_.isEmpty()) scaler_.RowArrived(std::as_const(into_->bitmap), y, pixels, shown_);
}

void CellPictureMaker::Make(FrameStream& stream, QSize shown, int largestScale,
                            CellPicture& into) {
  into_ = &into;
  shown_ = shown;
  largestScale_ = std::max(1, largestScale);
  into.frame = QSize();
  into.scale = 1;
  into.shownSize = QSize();
  into.decoded = decoder_.Decode(stream, *this) == 1;
  into.wroteBitmap = decoder_.WroteBitmap();
  into.message = decoder_.Message();
  into_ = nullptr;
  if (!into.decoded || shown.isEmpty() || into.bitmap.size() == shown) return;
  into.shownSize = shown;
  const QImage& scaled = scaler_.Scale(std::as_const(into.bitmap), shown);
  if (&scaled == &into.bitmap) return;
  // The scaler keeps the picture's old buffer for its next result.
  scaler_.SwapResult(into.shown);
}
