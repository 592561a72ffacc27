#include "view/PictureScaler.h"

#include <algorithm>
#include <cstring>

#include "view/PictureRows.h"

namespace {

// Reuses the image when it already has this size, so steady sizes allocate
// nothing.
void Prepare(QImage& image, QSize size) {
  if (image.size() != size || image.format() != QImage::Format_RGB32)
    image = QImage(size, QImage::Format_RGB32);
}

bool ShrinksByHalf(QSize picture, QSize size) {
  return 2 * size.width() <= picture.width() && 2 * size.height() <= picture.height();
}

QSize HalfSize(QSize picture) { return QSize(picture.width() / 2, picture.height() / 2); }

// Target rows [from, to), each pixel the average of a 2 x 2 block of source.
void HalveRows(const picture_rows::Kernels& kernels, const QImage& source, QImage& target,
               int from, int to) {
  const std::uint8_t* in = source.constBits();
  const auto inStride = std::size_t(source.bytesPerLine());
  std::uint8_t* out = target.bits();
  const auto outStride = std::size_t(target.bytesPerLine());
  for (int y = from; y < to; ++y)
    kernels.halve(in + 2 * std::size_t(y) * inStride, in + (2 * std::size_t(y) + 1) * inStride,
                  out + std::size_t(y) * outStride, target.width());
}

// Pixel centres map onto pixel centres: output d samples the source at
// (d + 0.5) * from / to - 0.5, clamped to the picture.
void MakeTaps(PictureScaler::Taps& taps, int from, int to) {
  if (taps.from == from && taps.to == to) return;
  taps.from = from;
  taps.to = to;
  taps.index.resize(std::size_t(to));
  taps.weight.resize(std::size_t(to));
  taps.pairs.resize(8 * std::size_t(to));
  for (int d = 0; d < to; ++d) {
    std::int64_t position = (2 * std::int64_t(d) + 1) * from * 256 / (2 * std::int64_t(to)) - 128;
    if (position < 0) position = 0;
    int index = int(position >> 8);
    int weight = int(position & 255);
    if (index >= from - 1) {
      index = from - 1;
      weight = 0;
    }
    taps.index[std::size_t(d)] = index;
    taps.weight[std::size_t(d)] = weight;
    std::int16_t* pair = taps.pairs.data() + 8 * d;
    for (int c = 0; c < 4; ++c) {
      pair[c] = static_cast<std::int16_t>(256 - weight);
      pair[c + 4] = static_cast<std::int16_t>(weight);
    }
  }
}

}  // namespace

void PictureScaler::PrepareBilinear(QSize from, QSize size) {
  MakeTaps(columns_, from.width(), size.width());
  MakeTaps(rows_, from.height(), size.height());
  Prepare(result_, size);
  blended_.resize(4 * (std::size_t(from.width()) + 1));
}

int PictureScaler::RowsNeeded(int y) const {
  return rows_.index[std::size_t(y)] + (rows_.weight[std::size_t(y)] == 0 ? 1 : 2);
}

void PictureScaler::BilinearRow(const std::uint32_t* top, const std::uint32_t* bottom, int weight,
                                int width, int y) {
  std::uint16_t* blended = blended_.data();
  kernels_.blendRows(top, bottom, weight, blended, width);
  std::memcpy(blended + 4 * width, blended + 4 * (width - 1), 4 * sizeof(std::uint16_t));
  kernels_.blendColumns(blended, columns_.index.data(), columns_.weight.data(),
                        columns_.pairs.data(),
                        reinterpret_cast<std::uint32_t*>(result_.scanLine(y)), columns_.to);
}

void PictureScaler::BilinearRows(const QImage& source, int from, int to) {
  const std::uint8_t* in = source.constBits();
  const auto stride = std::size_t(source.bytesPerLine());
  for (int y = from; y < to; ++y) {
    const int top = rows_.index[std::size_t(y)];
    const int weight = rows_.weight[std::size_t(y)];
    const auto* a = reinterpret_cast<const std::uint32_t*>(in + std::size_t(top) * stride);
    // A weight of 0 only happens where top + 1 may lie past the last row.
    BilinearRow(a, weight == 0 ? a : a + stride / 4, weight, source.width(), y);
  }
}

void PictureScaler::RowArrived(const QImage& picture, int y, const std::uint8_t* pixels,
                               QSize size) {
  if (y == 0) {
    arrivedRows_ = 0;
    arrivedKey_ = 0;
    if (picture.format() != QImage::Format_RGB32 || size.isEmpty() ||
        !ShrinksByHalf(picture.size(), size))
      return;
    const QSize half = HalfSize(picture.size());
    arrivedKey_ = picture.cacheKey();
    arrivedSize_ = size;
    evenRow_.resize(std::size_t(picture.width()));
    if (ShrinksByHalf(half, size)) {
      // More halvings follow in Scale, from the whole first one.
      scaledRows_ = -1;
      Prepare(halves_[0], half);
    } else {
      // The output rows follow the halved ones, which are needed only
      // until then: two of them are kept.
      scaledRows_ = 0;
      PrepareBilinear(half, size);
      halvedPair_.resize(2 * std::size_t(half.width()));
    }
  }
  if (arrivedKey_ == 0 || arrivedKey_ != picture.cacheKey() || y != arrivedRows_ ||
      size != arrivedSize_) {
    arrivedKey_ = 0;
    return;
  }
  arrivedRows_ = y + 1;
  // Rows pair up; an odd last row is left out, as Scale does.
  if (y % 2 == 0) {
    if (y + 1 < picture.height())
      std::memcpy(evenRow_.data(), pixels, evenRow_.size() * sizeof(std::uint32_t));
    return;
  }
  const int k = y / 2;
  const int halfWidth = picture.width() / 2;
  const auto* even = reinterpret_cast<const std::uint8_t*>(evenRow_.data());
  if (scaledRows_ < 0) {
    kernels_.halve(even, pixels, halves_[0].scanLine(k), halfWidth);
    return;
  }
  auto slot = [&](int row) {
    return halvedPair_.data() + std::size_t(row & 1) * std::size_t(halfWidth);
  };
  kernels_.halve(even, pixels, reinterpret_cast<std::uint8_t*>(slot(k)), halfWidth);
  // Each output row is made as soon as its rows are in, so it reads the row
  // just made and at most the one before.
  for (; scaledRows_ < size.height() && RowsNeeded(scaledRows_) <= k + 1; ++scaledRows_) {
    const int top = rows_.index[std::size_t(scaledRows_)];
    const int weight = rows_.weight[std::size_t(scaledRows_)];
    BilinearRow(slot(top), weight == 0 ? slot(top) : slot(top + 1), weight, halfWidth,
                scaledRows_);
  }
}

const QImage& PictureScaler::Scale(const QImage& picture, QSize size) {
  const QImage* source = &picture;
  if (picture.format() != QImage::Format_RGB32) {
    converted_ = picture.convertToFormat(QImage::Format_RGB32);
    source = &converted_;
  }
  if (source->size() == size) return *source;
  int next = 0;
  const bool arrived = source == &picture && arrivedKey_ == picture.cacheKey() &&
                       arrivedRows_ >= picture.height() && arrivedSize_ == size;
  if (arrived && scaledRows_ == size.height()) return result_;
  if (arrived && scaledRows_ < 0) {
    source = &halves_[0];
    next = 1;
  }
  // Whatever is made now replaces what RowArrived made.
  arrivedKey_ = 0;
  while (ShrinksByHalf(source->size(), size)) {
    Prepare(halves_[next], HalfSize(source->size()));
    HalveRows(kernels_, *source, halves_[next], 0, halves_[next].height());
    source = &halves_[next];
    next ^= 1;
  }
  PrepareBilinear(source->size(), size);
  BilinearRows(*source, 0, size.height());
  return result_;
}

std::size_t PictureScaler::HeldBytes() const {
  std::size_t bytes = std::size_t(converted_.sizeInBytes() + halves_[0].sizeInBytes() +
                                  halves_[1].sizeInBytes() + result_.sizeInBytes());
  bytes += (halvedPair_.capacity() + evenRow_.capacity()) * sizeof(std::uint32_t);
  bytes += blended_.capacity() * sizeof(std::uint16_t);
  return bytes;
}

void PictureScaler::Release() {
  arrivedKey_ = 0;
  arrivedRows_ = 0;
  evenRow_ = {};
  halvedPair_ = {};
  converted_ = QImage();
  halves_[0] = QImage();
  halves_[1] = QImage();
  result_ = QImage();
  blended_ = {};
}
