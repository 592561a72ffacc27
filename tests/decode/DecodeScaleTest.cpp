// The scale a frame is decoded at for the size it is shown at, and what the
// decoder then gives.

#include <gtest/gtest.h>

#include "TestJpeg.h"
#include "decode/DecodeScale.h"
#include "decode/FrameDecoder.h"

namespace {

struct ScaleCase {
  int width, height;            // the frame
  int shownWidth, shownHeight;  // the cell
  int expected;
};

class DecodeScaleChoice : public ::testing::TestWithParam<ScaleCase> {};

// Around each threshold of a 704 x 576 frame (352 x 288, 176 x 144, 88 x 72)
// in either direction, and a frame whose sides do not divide (libjpeg rounds
// the scaled sides up: 705 / 8 gives 89).
INSTANTIATE_TEST_SUITE_P(
    Thresholds, DecodeScaleChoice,
    ::testing::Values(ScaleCase{704, 576, 704, 576, 1}, ScaleCase{704, 576, 353, 200, 1},
                      ScaleCase{704, 576, 300, 289, 1}, ScaleCase{704, 576, 352, 288, 2},
                      ScaleCase{704, 576, 177, 100, 2}, ScaleCase{704, 576, 100, 145, 2},
                      ScaleCase{704, 576, 176, 144, 4}, ScaleCase{704, 576, 89, 50, 4},
                      ScaleCase{704, 576, 50, 73, 4}, ScaleCase{704, 576, 88, 72, 8},
                      ScaleCase{704, 576, 1, 1, 8}, ScaleCase{705, 577, 89, 73, 8},
                      ScaleCase{705, 577, 90, 73, 4}, ScaleCase{704, 576, 2000, 1000, 1},
                      ScaleCase{704, 576, 0, 100, 1}, ScaleCase{704, 576, 100, -1, 1}));

TEST_P(DecodeScaleChoice, LargestScaleWhosePictureCoversTheCell) {
  const ScaleCase& c = GetParam();
  EXPECT_EQ(DecodeScaleFor(c.width, c.height, c.shownWidth, c.shownHeight), c.expected);
}

class FixedScaleTarget final : public FrameTarget {
 public:
  explicit FixedScaleTarget(int scale) : scale_(scale) {}
  QImage& Bitmap() override { return image; }
  void Repaint() override {}
  int DecodeScale(int width, int height) override {
    asked = QSize(width, height);
    return scale_;
  }
  QImage image;
  QSize asked;

 private:
  int scale_;
};

// The decoder asks with the frame's own size and gives ScaledSide of it; a
// scale libjpeg is not asked for here is taken as 1.
TEST(DecodeScaleDecoder, BitmapHasTheScaledSidesOfTheFrame) {
  EncodeOptions options;
  options.width = 101;
  options.height = 67;
  FrameStream stream = StreamOf(EncodeSynthetic(options));
  FrameDecoder decoder;
  for (const int scale : {1, 2, 4, 8, 3, 16}) {
    FixedScaleTarget target(scale);
    ASSERT_EQ(decoder.Decode(stream, target), 1) << scale;
    EXPECT_TRUE(decoder.WroteBitmap());
    EXPECT_EQ(target.asked, QSize(101, 67));
    const int used = scale == 3 || scale == 16 ? 1 : scale;
    EXPECT_EQ(target.image.size(), QSize(ScaledSide(101, used), ScaledSide(67, used))) << scale;
  }
  FrameStream junk = StreamOf(Bytes{1, 2, 3, 4});
  FixedScaleTarget target(1);
  EXPECT_EQ(decoder.Decode(junk, target), -1);
  EXPECT_FALSE(decoder.WroteBitmap());
}

}  // namespace
