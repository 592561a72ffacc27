// Good frames of every kind a camera sends decode exactly as libjpeg's own RGB
// output, blue first, fourth byte 0.

#include <gtest/gtest.h>

#include <jpeglib.h>

#include <cstring>

#include "TestJpeg.h"
#include "decode/FrameDecoder.h"

namespace {

// Decodes with a fresh FrameDecoder and compares with libjpeg's RGB output.
std::string DecodeAndCompare(const EncodeOptions& options) {
  const Bytes jpeg = EncodeSynthetic(options);
  if (jpeg.empty()) return "encode failed";
  FrameDecoder decoder;
  ImageTarget target;
  FrameStream stream = StreamOf(jpeg);
  if (decoder.Decode(stream, target) != 1) return "decode failed";
  if (target.Repaints() != 1) return "not repainted once";
  const int space = options.components == 1 ? JCS_GRAYSCALE : JCS_RGB;
  return CompareWithReference(target.Bitmap(), DecodeReference(jpeg, space));
}

EncodeOptions Colour(int width, int height, Subsampling s) {
  EncodeOptions o;
  o.width = width;
  o.height = height;
  o.subsampling = s;
  return o;
}

TEST(FrameDecoderPixels, Colour420MatchesLibjpegBlueFirst) {
  EXPECT_EQ(DecodeAndCompare(Colour(704, 576, Subsampling::k420)), "");
}

TEST(FrameDecoderPixels, Colour422MatchesLibjpegBlueFirst) {
  EXPECT_EQ(DecodeAndCompare(Colour(352, 288, Subsampling::k422)), "");
}

TEST(FrameDecoderPixels, Colour444MatchesLibjpegBlueFirst) {
  EXPECT_EQ(DecodeAndCompare(Colour(100, 75, Subsampling::k444)), "");
}

TEST(FrameDecoderPixels, GrayscaleExpandsToThreeEqualBytes) {
  EncodeOptions o;
  o.components = 1;
  o.width = 97;
  EXPECT_EQ(DecodeAndCompare(o), "");
}

TEST(FrameDecoderPixels, ProgressiveMatches) {
  EncodeOptions o = Colour(320, 240, Subsampling::k420);
  o.progressive = true;
  EXPECT_EQ(DecodeAndCompare(o), "");
}

TEST(FrameDecoderPixels, RestartMarkersMatch) {
  EncodeOptions o = Colour(320, 240, Subsampling::k420);
  o.restart_rows = 1;
  EXPECT_EQ(DecodeAndCompare(o), "");
}

TEST(FrameDecoderPixels, ArithmeticCodingMatches) {
  EncodeOptions o = Colour(320, 240, Subsampling::k422);
  o.arithmetic = true;
  EXPECT_EQ(DecodeAndCompare(o), "");
}

TEST(FrameDecoderPixels, TinySevenByFiveMatches) {
  EXPECT_EQ(DecodeAndCompare(Colour(7, 5, Subsampling::k420)), "");
  EncodeOptions gray;
  gray.components = 1;
  gray.width = 7;
  gray.height = 5;
  EXPECT_EQ(DecodeAndCompare(gray), "");
}

// Rows longer than libjpeg's 4096-byte row of a small frame: 1920, 2000 and
// 2560 colour pixels, 5000 gray ones.
TEST(FrameDecoderPixels, WideFramesDecodeWhole) {
  EXPECT_EQ(DecodeAndCompare(Colour(1920, 16, Subsampling::k420)), "");
  EXPECT_EQ(DecodeAndCompare(Colour(2000, 24, Subsampling::k422)), "");
  EXPECT_EQ(DecodeAndCompare(Colour(2560, 40, Subsampling::k420)), "");
  EncodeOptions gray;
  gray.components = 1;
  gray.width = 5000;
  gray.height = 9;
  EXPECT_EQ(DecodeAndCompare(gray), "");
}

TEST(FrameDecoderPixels, PureRedBecomesBytes0_0_255_0) {
  EncodeOptions o = Colour(16, 16, Subsampling::k444);
  o.quality = 100;
  Bytes red(16 * 16 * 3, 0);
  for (std::size_t i = 0; i < red.size(); i += 3) red[i] = 255;
  const Bytes jpeg = Encode(o, red);
  FrameDecoder decoder;
  ImageTarget target;
  FrameStream stream = StreamOf(jpeg);
  ASSERT_EQ(decoder.Decode(stream, target), 1);
  const std::uint8_t* p = target.Bitmap().constScanLine(8) + 4 * 8;
  EXPECT_EQ(p[0], 0);
  EXPECT_EQ(p[1], 0);
  EXPECT_GE(p[2], 254);  // libjpeg's YCbCr round trip of 255
  EXPECT_EQ(p[3], 0);
}

// Frames stored as RGB come out red first from libjpeg by default; they must
// show the same colours as YCbCr frames.
TEST(FrameDecoderPixels, FramesStoredAsRgbShowTrueColours) {
  for (StoredAs how : {StoredAs::kRgbAdobe, StoredAs::kRgbComponentIds}) {
    EncodeOptions o = Colour(48, 32, Subsampling::k444);
    o.stored_as = how;
    EXPECT_EQ(DecodeAndCompare(o), "") << int(how);
    o.quality = 100;
    Bytes red(48 * 32 * 3, 0);
    for (std::size_t i = 0; i < red.size(); i += 3) red[i] = 255;
    FrameDecoder decoder;
    ImageTarget target;
    FrameStream stream = StreamOf(Encode(o, red));
    ASSERT_EQ(decoder.Decode(stream, target), 1);
    const std::uint8_t* p = target.Bitmap().constScanLine(5) + 4 * 5;
    EXPECT_LE(p[0], 1) << int(how);
    EXPECT_LE(p[1], 1) << int(how);
    EXPECT_GE(p[2], 254) << int(how);
  }
}

// Four-component frames are shown, converted from inks: Adobe's inverted
// convention (libjpeg writes the Adobe marker for them).
TEST(FrameDecoderPixels, FourComponentFramesShowInkColours) {
  for (StoredAs how : {StoredAs::kDefault, StoredAs::kYcck}) {
    EncodeOptions o = Colour(32, 16, Subsampling::k444);
    o.components = 4;
    o.quality = 100;
    o.stored_as = how;
    // Inverted inks: 255 = none. Left half full magenta and yellow (red),
    // right half full black.
    Bytes inks(32 * 16 * 4);
    for (int i = 0; i < 32 * 16; ++i) {
      const bool left = i % 32 < 16;
      std::uint8_t* p = &inks[std::size_t(i) * 4];
      p[0] = 255;
      p[1] = left ? 0 : 255;
      p[2] = left ? 0 : 255;
      p[3] = left ? 255 : 0;
    }
    FrameDecoder decoder;
    ImageTarget target;
    FrameStream stream = StreamOf(Encode(o, inks));
    ASSERT_EQ(decoder.Decode(stream, target), 1) << int(how);
    const QImage& image = target.Bitmap();
    const std::uint8_t* red = image.constScanLine(8) + 4 * 4;
    const std::uint8_t* black = image.constScanLine(8) + 4 * 28;
    EXPECT_LE(red[0], 3);
    EXPECT_LE(red[1], 3);
    EXPECT_GE(red[2], 252);
    EXPECT_EQ(red[3], 0);
    EXPECT_LE(black[0] + black[1] + black[2], 6);
  }
}

TEST(FrameDecoderPixels, FrameOfAnotherSizeResizesBitmap) {
  FrameDecoder decoder;
  ImageTarget target;
  FrameStream big = StreamOf(EncodeSynthetic(Colour(320, 240, Subsampling::k420)));
  FrameStream small = StreamOf(EncodeSynthetic(Colour(33, 17, Subsampling::k420)));
  ASSERT_EQ(decoder.Decode(big, target), 1);
  ASSERT_EQ(decoder.Decode(small, target), 1);
  EXPECT_EQ(target.Bitmap().size(), QSize(33, 17));
  EXPECT_EQ(target.Bitmap().format(), QImage::Format_RGB32);
  ASSERT_EQ(decoder.Decode(big, target), 1);
  EXPECT_EQ(target.Bitmap().size(), QSize(320, 240));
  EXPECT_EQ(target.Repaints(), 3);
}

// An empty target bitmap (a cell that never showed a frame) and one in
// another format both end up as the frame's RGB32 picture.
TEST(FrameDecoderPixels, AnyStartingBitmapBecomesTheFramesPicture) {
  const Bytes jpeg = EncodeSynthetic(Colour(40, 30, Subsampling::k420));
  FrameDecoder decoder;
  ImageTarget target;
  target.Bitmap() = QImage(40, 30, QImage::Format_RGB888);
  FrameStream stream = StreamOf(jpeg);
  stream.SetPosition(7);  // the decoder always reads from the start
  ASSERT_EQ(decoder.Decode(stream, target), 1);
  EXPECT_EQ(CompareWithReference(target.Bitmap(), DecodeReference(jpeg, JCS_RGB)), "");
}

}  // namespace

namespace {

// The benchmark's several-rows-per-call mode decodes into the bitmap rows
// themselves; it must give the same bytes.
TEST(FrameDecoderPixels, SeveralRowsPerCallGiveTheSameBytes) {
  for (int components : {1, 3, 4}) {
    EncodeOptions o;
    o.width = 203;
    o.height = 61;
    o.components = components;
    const Bytes jpeg = EncodeSynthetic(o);
    FrameDecoder one, several;
    several.SetRowsPerCall(8);
    ImageTarget a, b;
    FrameStream s1 = StreamOf(jpeg), s2 = StreamOf(jpeg);
    ASSERT_EQ(one.Decode(s1, a), 1);
    ASSERT_EQ(several.Decode(s2, b), 1);
    ASSERT_EQ(b.Bitmap().size(), a.Bitmap().size());
    // Byte for byte: QImage's own comparison ignores the fourth byte.
    for (int y = 0; y < o.height; ++y)
      ASSERT_EQ(std::memcmp(a.Bitmap().constScanLine(y), b.Bitmap().constScanLine(y), 4 * o.width), 0)
          << components << " row " << y;
  }
}

}  // namespace

namespace {

// A target that has its bitmap written past the cache, and notes the rows
// the decoder tells it.
class StreamingTarget final : public FrameTarget {
 public:
  QImage& Bitmap() override { return image_; }
  void Repaint() override {}
  void RowDecoded(int y, const std::uint8_t* pixels) override {
    rows.push_back(y);
    // The pixels told are the row's, whatever the fourth byte.
    for (int x = 0; x < image_.width(); ++x)
      if ((Load(pixels, x) ^ Load(image_.constScanLine(y), x)) & 0x00FFFFFFu) ++wrong;
  }
  bool StreamBitmap() const override { return true; }
  std::vector<int> rows;
  int wrong = 0;

 private:
  static std::uint32_t Load(const void* row, int x) {
    std::uint32_t v;
    std::memcpy(&v, static_cast<const std::uint8_t*>(row) + 4 * x, 4);
    return v;
  }
  QImage image_;
};

// Widths whose rows start at every alignment, gray and colour: the same
// bytes as a plain target, and every row told once, in order.
TEST(FrameDecoderPixels, StreamedBitmapAndToldRowsHoldTheFramesPixels) {
  for (int components : {1, 3}) {
    for (int width : {33, 701, 704}) {
      EncodeOptions o;
      o.width = width;
      o.height = 37;
      o.components = components;
      const Bytes jpeg = EncodeSynthetic(o);
      FrameDecoder decoder;
      StreamingTarget streamed;
      FrameStream stream = StreamOf(jpeg);
      ASSERT_EQ(decoder.Decode(stream, streamed), 1);
      const int space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
      EXPECT_EQ(CompareWithReference(streamed.Bitmap(), DecodeReference(jpeg, space)), "")
          << components << " " << width;
      ASSERT_EQ(streamed.rows.size(), 37u);
      for (int y = 0; y < 37; ++y) EXPECT_EQ(streamed.rows[std::size_t(y)], y);
      EXPECT_EQ(streamed.wrong, 0);
    }
  }
}

}  // namespace
