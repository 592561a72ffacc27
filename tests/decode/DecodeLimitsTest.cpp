// Hostile frames that would cost unbounded time or memory fail like any
// damaged frame: -1, libjpeg's message on standard error, decoder reusable.

#include <gtest/gtest.h>

#include <jpeglib.h>

#include "TestJpeg.h"
#include "decode/FrameDecoder.h"
#include "decode/FrameLimits.h"

namespace {

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

std::string FailureMessage(const Bytes& jpeg) {
  FrameDecoder decoder;
  ImageTarget target;
  FrameStream stream = StreamOf(jpeg);
  CaptureStderr();
  const int result = decoder.Decode(stream, target);
  const std::string messages = GetCapturedStderr();
  if (result != -1) return "decoded";
  if (target.Repaints() != 0) return "repainted";
  // Still usable afterwards.
  const Bytes good = EncodeSynthetic(EncodeOptions{});
  FrameStream again = StreamOf(good);
  if (decoder.Decode(again, target) != 1) return "not reusable";
  return messages;
}

Bytes ProgressiveFrame(int components = 3) {
  EncodeOptions o;
  o.width = 32;
  o.height = 32;
  o.components = components;
  o.subsampling = Subsampling::k444;
  o.progressive = true;
  return EncodeSynthetic(o);
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

TEST(FrameDecoderLimits, FrameWithTooManyScansFails) {
  const Bytes hostile = WithRepeatedLastScan(ProgressiveFrame(), 600);
  ASSERT_EQ(CountScans(hostile), 600);
  const std::string m = FailureMessage(hostile);
  EXPECT_TRUE(EndsWith(m, "Scan number 101 exceeds the limit of 100 scans per frame\n")) << m;
}

TEST(FrameDecoderLimits, FrameAtTheScanLimitDecodes) {
  const Bytes many = WithRepeatedLastScan(ProgressiveFrame(), kMaxScans);
  FrameDecoder decoder;
  ImageTarget target;
  FrameStream stream = StreamOf(many);
  CaptureStderr();
  EXPECT_EQ(decoder.Decode(stream, target), 1);
  GetCapturedStderr();  // the repeated scans draw a progression warning
}

TEST(FrameDecoderLimits, SideLongerThanAnyCameraFails) {
  EncodeOptions o;
  const std::string m = FailureMessage(WithDimensions(EncodeSynthetic(o), 20000, 40));
  EXPECT_EQ(m, "Frame dimensions 20000x40 exceed the limit of 16384 pixels per side\n");
}

TEST(FrameDecoderLimits, AreaLargerThanAnyCameraFails) {
  EncodeOptions o;
  const std::string m = FailureMessage(WithDimensions(EncodeSynthetic(o), 8000, 8000));
  EXPECT_EQ(m, "Frame of 8000x8000 pixels exceeds the limit of 33554432 pixels per frame\n");
}

// Within the size limits, but a progressive four-component frame of that size
// would need 256 MiB of coefficients alone.
TEST(FrameDecoderLimits, FrameAskingForTooMuchWorkingMemoryFails) {
  const Bytes hostile = WithDimensions(ProgressiveFrame(4), 8192, 4096);
  const std::string m = FailureMessage(hostile);
  EXPECT_EQ(m, "Backing store not supported\n");
}

}  // namespace
