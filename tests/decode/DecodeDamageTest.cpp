// Damaged frames: a fatal error is -1 with libjpeg's message on standard
// error and no repaint, the decoder stays usable; a truncated frame still
// shows in full.

#include <gtest/gtest.h>

#include <jpeglib.h>

#include <random>

#include "TestJpeg.h"
#include "decode/FrameDecoder.h"

namespace {

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

struct Outcome {
  int result;
  std::string messages;  // what went to standard error
};

Outcome DecodeCapturing(FrameDecoder& decoder, const Bytes& bytes, ImageTarget& target) {
  FrameStream stream = StreamOf(bytes);
  CaptureStderr();
  const int result = decoder.Decode(stream, target);
  return {result, GetCapturedStderr()};
}

Bytes GoodFrame(int seed = 1) {
  EncodeOptions o;
  o.width = 160;
  o.height = 120;
  o.seed = seed;
  o.restart_rows = 2;
  return EncodeSynthetic(o);
}

// After any failure the same decoder must decode a good frame exactly.
void ExpectDecoderRecovered(FrameDecoder& decoder) {
  const Bytes good = GoodFrame(7);
  ImageTarget target;
  FrameStream stream = StreamOf(good);
  ASSERT_EQ(decoder.Decode(stream, target), 1);
  EXPECT_EQ(decoder.Warnings(), 0);
  EXPECT_STREQ(decoder.Message(), "");
  EXPECT_EQ(target.Repaints(), 1);
  EXPECT_EQ(CompareWithReference(target.Bitmap(), DecodeReference(good, JCS_RGB)), "");
}

TEST(FrameDecoderDamage, TruncatedEntropyDataWarnsAndShowsFullPicture) {
  const Bytes good = GoodFrame();
  const Bytes cut(good.begin(), good.begin() + long(good.size() * 2 / 3));
  FrameDecoder decoder;
  ImageTarget target;
  const Outcome o = DecodeCapturing(decoder, cut, target);
  EXPECT_EQ(o.result, 1);
  EXPECT_EQ(target.Repaints(), 1);
  EXPECT_NE(o.messages.find("Premature end of JPEG file"), std::string::npos) << o.messages;
  // The warnings are kept for the caller, and forgotten with the next frame.
  EXPECT_GE(decoder.Warnings(), 1);
  EXPECT_STREQ(decoder.Message(), "Premature end of JPEG file");
  // libjpeg's own memory source supplies the same end marker.
  EXPECT_EQ(CompareWithReference(target.Bitmap(), DecodeReference(cut, JCS_RGB)), "");
}

TEST(FrameDecoderDamage, TruncatedHeaderFailsAndDecoderRecovers) {
  const Bytes good = GoodFrame();
  const int sof = FindFrameHeader(good);
  ASSERT_GT(sof, 0);
  FrameDecoder decoder;
  for (std::size_t length : {std::size_t(1), std::size_t(2), std::size_t(sof) + 6}) {
    ImageTarget target;
    const Outcome o = DecodeCapturing(decoder, Bytes(good.begin(), good.begin() + long(length)), target);
    EXPECT_EQ(o.result, -1) << length;
    EXPECT_EQ(target.Repaints(), 0);
    EXPECT_FALSE(o.messages.empty()) << length;
    ExpectDecoderRecovered(decoder);
  }
}

TEST(FrameDecoderDamage, BytesAfterEndOfImageAreIgnored) {
  const Bytes good = GoodFrame();
  Bytes padded = good;
  for (int i = 0; i < 5000; ++i) padded.push_back(std::uint8_t(i * 37));
  FrameDecoder decoder;
  ImageTarget target;
  const Outcome o = DecodeCapturing(decoder, padded, target);
  EXPECT_EQ(o.result, 1);
  EXPECT_EQ(o.messages, "");
  EXPECT_EQ(CompareWithReference(target.Bitmap(), DecodeReference(good, JCS_RGB)), "");
}

TEST(FrameDecoderDamage, RandomBytesFailAsNotAJpegFile) {
  std::mt19937 rng(5);
  Bytes noise(3000);
  for (auto& b : noise) b = std::uint8_t(rng());
  noise[0] = 0x12;
  noise[1] = 0x34;
  FrameDecoder decoder;
  ImageTarget target;
  const Outcome o = DecodeCapturing(decoder, noise, target);
  EXPECT_EQ(o.result, -1);
  EXPECT_EQ(target.Repaints(), 0);
  EXPECT_EQ(o.messages, "Not a JPEG file: starts with 0x12 0x34\n");
  ExpectDecoderRecovered(decoder);
}

TEST(FrameDecoderDamage, EmptyStreamFailsAsEmptyInputFile) {
  FrameDecoder decoder;
  ImageTarget target;
  const Outcome o = DecodeCapturing(decoder, {}, target);
  EXPECT_EQ(o.result, -1);
  EXPECT_EQ(o.messages, "Empty input file\n");
  ExpectDecoderRecovered(decoder);
}

TEST(FrameDecoderDamage, TablesOnlyStreamFailsAsNoImage) {
  FrameDecoder decoder;
  ImageTarget target;
  const Outcome o = DecodeCapturing(decoder, EncodeTablesOnly(), target);
  EXPECT_EQ(o.result, -1);
  EXPECT_EQ(o.messages, "JPEG datastream contains no image\n");
  ExpectDecoderRecovered(decoder);
}

// Two components: neither gray nor colour nor inks.
TEST(FrameDecoderDamage, FrameOfUnusualComponentCountFails) {
  EncodeOptions odd;
  odd.components = 2;
  FrameDecoder decoder;
  ImageTarget target;
  const Outcome o = DecodeCapturing(decoder, EncodeSynthetic(odd), target);
  EXPECT_EQ(o.result, -1);
  EXPECT_EQ(o.messages, "Unsupported color conversion request\n");
  ExpectDecoderRecovered(decoder);
}

TEST(FrameDecoderDamage, FailedFrameAfterDecodedOneKeepsBitmapAndSkipsRepaint) {
  FrameDecoder decoder;
  ImageTarget target;
  FrameStream good = StreamOf(GoodFrame());
  ASSERT_EQ(decoder.Decode(good, target), 1);
  const QImage before = target.Bitmap().copy();
  const Outcome o = DecodeCapturing(decoder, Bytes{0x00, 0x01, 0x02}, target);
  EXPECT_EQ(o.result, -1);
  EXPECT_EQ(target.Repaints(), 1);
  EXPECT_EQ(target.Bitmap(), before);
}

// Single-byte damage anywhere in a progressive and a baseline frame: every
// decode ends (1 or -1), and the decoder keeps decoding good frames exactly.
TEST(FrameDecoderDamage, CorruptedBytesAnywhereNeverBreakTheDecoder) {
  EncodeOptions progressive;
  progressive.width = 48;
  progressive.height = 32;
  progressive.progressive = true;
  FrameDecoder decoder;
  for (const Bytes& good : {GoodFrame(), EncodeSynthetic(progressive)}) {
    std::mt19937 rng(9);
    for (int trial = 0; trial < 150; ++trial) {
      Bytes bad = good;
      const std::size_t at = rng() % bad.size();
      bad[at] = std::uint8_t(rng());
      ImageTarget target;
      const Outcome o = DecodeCapturing(decoder, bad, target);
      ASSERT_TRUE(o.result == 1 || o.result == -1) << at;
      EXPECT_EQ(target.Repaints(), o.result == 1 ? 1 : 0);
    }
    ExpectDecoderRecovered(decoder);
  }
}

}  // namespace
