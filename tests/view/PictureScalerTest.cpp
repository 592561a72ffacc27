// The scaler of cell pictures: its vector kernels give the portable ones'
// bytes, a flat colour stays exact at any size, fine detail shrinks to its
// average instead of to moire, and a frame shrunk while its rows arrive is
// the frame shrunk afterwards, as long as it was not written to since.

#include <gtest/gtest.h>

#include <QImage>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "view/PictureRows.h"
#include "view/PictureScaler.h"

namespace {

using picture_rows::Kernels;

template <typename T>
std::vector<T> Random(std::size_t n, std::mt19937& rng, unsigned limit = 256) {
  std::vector<T> v(n);
  for (T& x : v) x = static_cast<T>(rng() % limit);
  return v;
}

// A camera-like frame as the decoder leaves it: smooth areas, edges and
// noise, 0 in the fourth byte.
QImage Frame(int w, int h, unsigned seed) {
  std::mt19937 rng(seed);
  QImage image(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < w; ++x) {
      const int edge = ((x / 37 + y / 23) % 3) * 60;
      row[x] = qRgb((x + edge) % 256, (y * 3 + edge) % 256, int(rng() % 64) + edge) & 0x00FFFFFFu;
    }
  }
  return image;
}

TEST(PictureRows, VectorKernelsGiveThePortableBytes) {
  const Kernels portable = picture_rows::Portable();
  std::vector<Kernels> vector = {picture_rows::Sse2()};
  if (picture_rows::Avx2().halve) vector.push_back(picture_rows::Avx2());
  std::mt19937 rng(7);
  // Widths around the four- and eight-pixel steps, and a frame's.
  for (int width : {1, 3, 4, 5, 7, 8, 9, 15, 16, 17, 33, 352}) {
    SCOPED_TRACE(width);
    const auto n = static_cast<std::size_t>(width);
    const auto a = Random<std::uint8_t>(8 * n, rng);
    const auto b = Random<std::uint8_t>(8 * n, rng);
    const auto row = Random<std::uint16_t>(4 * (2 * n + 1), rng);
    std::vector<int> index(n), weight(n);
    std::vector<std::int16_t> pairs(8 * n);
    for (int d = 0; d < width; ++d) {
      index[std::size_t(d)] = int(rng() % (2 * unsigned(width)));
      weight[std::size_t(d)] = int(rng() % 257);
      for (int c = 0; c < 4; ++c) {
        pairs[8 * std::size_t(d) + std::size_t(c)] = std::int16_t(256 - weight[std::size_t(d)]);
        pairs[8 * std::size_t(d) + 4 + std::size_t(c)] = std::int16_t(weight[std::size_t(d)]);
      }
    }
    const auto* a32 = reinterpret_cast<const std::uint32_t*>(a.data());
    const auto* b32 = reinterpret_cast<const std::uint32_t*>(b.data());

    std::vector<std::uint8_t> halved(4 * n);
    portable.halve(a.data(), b.data(), halved.data(), width);
    std::vector<std::vector<std::uint16_t>> blended;
    for (int w : {0, 1, 100, 255, 256}) {
      blended.emplace_back(4 * n);
      portable.blendRows(a32, b32, w, blended.back().data(), width);
    }
    std::vector<std::uint32_t> columns(n);
    portable.blendColumns(row.data(), index.data(), weight.data(), pairs.data(), columns.data(),
                          width);

    for (const Kernels& k : vector) {
      std::vector<std::uint8_t> h(halved.size());
      k.halve(a.data(), b.data(), h.data(), width);
      EXPECT_EQ(h, halved);
      int i = 0;
      for (int w : {0, 1, 100, 255, 256}) {
        std::vector<std::uint16_t> r(4 * n);
        k.blendRows(a32, b32, w, r.data(), width);
        EXPECT_EQ(r, blended[std::size_t(i++)]) << "weight " << w;
      }
      std::vector<std::uint32_t> c(n);
      k.blendColumns(row.data(), index.data(), weight.data(), pairs.data(), c.data(), width);
      EXPECT_EQ(c, columns);
    }
  }
}

struct Sizes {
  QSize from;
  QSize to;
};

class PictureScalerSizes : public ::testing::TestWithParam<Sizes> {};

TEST_P(PictureScalerSizes, FlatColourStaysExactAndOpaque) {
  QImage flat(GetParam().from, QImage::Format_RGB32);
  flat.fill(0x000AC84Du);  // as decoded: 0 in the fourth byte
  PictureScaler scaler;
  const QImage& out = scaler.Scale(flat, GetParam().to);
  ASSERT_EQ(out.size(), GetParam().to);
  for (int y = 0; y < out.height(); ++y)
    for (int x = 0; x < out.width(); ++x)
      ASSERT_EQ(out.pixel(x, y), 0xFF0AC84Du) << x << "," << y;
}

TEST_P(PictureScalerSizes, RowsShrunkAsTheyArriveEqualAShrinkAfterwards) {
  const QImage frame = Frame(GetParam().from.width(), GetParam().from.height(), 3);
  PictureScaler fresh;
  const QImage expected = fresh.Scale(frame, GetParam().to).copy();

  QImage bitmap = frame.copy();
  PictureScaler scaler;
  std::vector<std::uint32_t> pixels(std::size_t(bitmap.width()));
  for (int y = 0; y < bitmap.height(); ++y) {
    // The decoder may hand its own buffer, with 255 in the fourth byte.
    const auto* row = reinterpret_cast<const std::uint32_t*>(std::as_const(bitmap).constScanLine(y));
    for (std::size_t x = 0; x < pixels.size(); ++x) pixels[x] = row[x] | 0xFF000000u;
    scaler.RowArrived(bitmap, y, reinterpret_cast<const std::uint8_t*>(pixels.data()),
                      GetParam().to);
  }
  EXPECT_EQ(scaler.Scale(std::as_const(bitmap), GetParam().to), expected);

  // A frame written to afterwards is shrunk anew, not taken from the rows.
  bitmap.fill(0x00102030u);
  const QImage& again = scaler.Scale(std::as_const(bitmap), GetParam().to);
  EXPECT_EQ(again.pixel(again.width() / 2, again.height() / 2), 0xFF102030u);
}

INSTANTIATE_TEST_SUITE_P(
    Shrinks, PictureScalerSizes,
    ::testing::Values(Sizes{{704, 576}, {264, 216}},   // 16 cells: one halving
                      Sizes{{703, 575}, {190, 131}},   // odd sides: one halving
                      Sizes{{704, 576}, {117, 88}},    // 36 cells: two halvings
                      Sizes{{352, 288}, {320, 247}},   // interpolation only
                      Sizes{{352, 288}, {1001, 799}},  // stretched
                      Sizes{{7, 5}, {1, 1}}, Sizes{{1, 1}, {5, 3}}),
    [](const ::testing::TestParamInfo<Sizes>& info) {
      const Sizes& s = info.param;
      return std::to_string(s.from.width()) + "x" + std::to_string(s.from.height()) + "To" +
             std::to_string(s.to.width()) + "x" + std::to_string(s.to.height());
    });

TEST(PictureScaler, FineDetailShrinksToItsAverageWithoutMoire) {
  // One-pixel stripes both ways and a checkerboard, black and white: shrunk
  // by 2.7, sampling alone would make stripes of its own; every pixel must
  // come out mid-grey.
  for (int pattern = 0; pattern < 3; ++pattern) {
    QImage fine(704, 576, QImage::Format_RGB32);
    for (int y = 0; y < fine.height(); ++y)
      for (int x = 0; x < fine.width(); ++x) {
        const int bit = pattern == 0 ? x % 2 : pattern == 1 ? y % 2 : (x + y) % 2;
        fine.setPixel(x, y, bit ? 0x00FFFFFFu : 0u);
      }
    PictureScaler scaler;
    const QImage& out = scaler.Scale(fine, QSize(264, 216));
    for (int y = 0; y < out.height(); ++y)
      for (int x = 0; x < out.width(); ++x)
        ASSERT_NEAR(qGreen(out.pixel(x, y)), 128, 8) << "pattern " << pattern << " at " << x << ","
                                                     << y;
  }
}

}  // namespace
