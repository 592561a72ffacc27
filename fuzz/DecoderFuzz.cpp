// Fuzz target: FrameDecoder on any bytes. Contracts:
// - the result is 1 or -1, and only 1 asks for a repaint;
// - a decoded picture is 32-bit, within the frame limits, every pixel's
//   fourth byte 0; decoded again it has the same size (not always the same
//   pixels: libjpeg keeps tables between images, so a stream that lacks or
//   redefines one depends on the frames before it);
// - decoded at a reduced scale (1/2, 1/4 or 1/8, chosen by the input's last
//   byte), a picture has the scaled size of the full one;
// - after any frame, good or bad, a known good frame decodes (the decoder
//   is back in its start state).
#include <algorithm>
#include <cstring>

#include "decode/DecodeScale.h"
#include "decode/FrameDecoder.h"
#include "decode/FrameLimits.h"
#include "fuzz/FuzzSupport.h"
#include "tools/JpegEncoder.h"

namespace {

// An 8 x 8 colour frame made once, at the first input.
const std::vector<std::uint8_t>& GoodFrame() {
  static const std::vector<std::uint8_t> frame = [] {
    std::uint8_t rgb[8 * 8 * 3];
    for (int i = 0; i < 8 * 8 * 3; ++i) rgb[i] = std::uint8_t(i * 7);
    std::vector<std::uint8_t> out;
    JpegEncoder encoder;
    FUZZ_CHECK(encoder.Encode(rgb, 8, 8, 80, out));
    return out;
  }();
  return frame;
}

int Decode(FrameDecoder& decoder, const std::uint8_t* data, std::size_t size, ImageTarget& target) {
  FrameStream stream;
  stream.Append(data, size);
  const int before = target.Repaints();
  const int r = decoder.Decode(stream, target);
  FUZZ_CHECK(r == 1 || r == -1);
  FUZZ_CHECK(target.Repaints() == before + (r == 1 ? 1 : 0));
  return r;
}

void CheckPicture(const QImage& image) {
  FUZZ_CHECK(!image.isNull());
  FUZZ_CHECK(image.format() == QImage::Format_RGB32);
  FUZZ_CHECK(image.width() <= kMaxFrameSide && image.height() <= kMaxFrameSide);
  FUZZ_CHECK(static_cast<long long>(image.width()) * image.height() <= kMaxFramePixels);
  // Up to 16 rows spread over the picture: a few bytes of input can make a
  // 32-megapixel frame, and checking all of it would outlast the fuzzer's
  // patience for one input.
  const int step = std::max(1, image.height() / 16);
  for (int y = 0; y < image.height(); y += step) {
    const uchar* row = image.constScanLine(y);
    for (int x = 0; x < image.width(); ++x) FUZZ_CHECK(row[4 * x + 3] == 0);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static FrameDecoder decoder;  // one object for every frame, as in the viewer
  ImageTarget first;
  if (Decode(decoder, data, size, first) == 1) {
    CheckPicture(first.Bitmap());
    ImageTarget again;
    if (Decode(decoder, data, size, again) == 1) {
      CheckPicture(again.Bitmap());
      FUZZ_CHECK(again.Bitmap().size() == first.Bitmap().size());
    }
    const int scale = kDecodeScales[data[size - 1] % 3];
    ImageTarget scaled(scale);
    if (Decode(decoder, data, size, scaled) == 1) {
      CheckPicture(scaled.Bitmap());
      FUZZ_CHECK(scaled.Bitmap().width() == ScaledSide(first.Bitmap().width(), scale));
      FUZZ_CHECK(scaled.Bitmap().height() == ScaledSide(first.Bitmap().height(), scale));
    }
  }
  ImageTarget good;
  FUZZ_CHECK(Decode(decoder, GoodFrame().data(), GoodFrame().size(), good) == 1);
  FUZZ_CHECK(good.Bitmap().width() == 8 && good.Bitmap().height() == 8);
  return 0;
}
