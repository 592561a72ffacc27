// Decode speed of FrameDecoder against TurboJPEG's tjDecompress2 into BGRX,
// on the same 4:2:0 quality-75 frames, alternating in one run. Prints the
// 1280x720 figures, then the 704x576 ones on the last line:
//   ratio=<decoder fps / turbojpeg fps> decoder_fps=<...> turbojpeg_fps=<...>
// FrameDecoder reads one row per call; the rows_per_call=8 lines show what
// reading several would give.
// Usage: bench_decode [seconds per measurement, default 2.5]

#include <turbojpeg.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "common/FrameStream.h"
#include "decode/FrameDecoder.h"
#include "decode/FrameTarget.h"

namespace {

using Clock = std::chrono::steady_clock;
using Bytes = std::vector<std::uint8_t>;

// A street-like picture: gradients, hard-edged blocks, a moving bar and
// sensor noise, so the entropy data is like a camera's.
std::vector<std::uint8_t> SyntheticPicture(int width, int height, int frame, std::mt19937& rng) {
  std::vector<std::uint8_t> rgb(std::size_t(width) * height * 3);
  std::normal_distribution<float> noise(0.0f, 6.0f);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      float r = 40 + 150.0f * x / width;
      float g = 60 + 120.0f * y / height;
      float b = 90 + 60.0f * std::sin((x + 3 * frame) * 0.02f) * std::cos(y * 0.03f);
      if (((x / 48) + (y / 40)) % 5 == 0) { r = 220; g = 210; b = 190; }      // facades
      if (std::abs((x - 11 * frame) % width - width / 3) < 20) { r = 30; g = 30; b = 200; }
      if ((x * x + 2 * y * y) % 977 < 3) { r = g = b = 250; }                  // speckles
      std::uint8_t* p = &rgb[(std::size_t(y) * width + x) * 3];
      const float n = noise(rng);
      p[0] = std::uint8_t(std::clamp(r + n, 0.0f, 255.0f));
      p[1] = std::uint8_t(std::clamp(g + n, 0.0f, 255.0f));
      p[2] = std::uint8_t(std::clamp(b + n, 0.0f, 255.0f));
    }
  }
  return rgb;
}

std::vector<Bytes> MakeFrames(int width, int height, int count) {
  std::mt19937 rng(1234);
  tjhandle encoder = tjInitCompress();
  std::vector<Bytes> frames;
  for (int i = 0; i < count; ++i) {
    std::vector<std::uint8_t> rgb = SyntheticPicture(width, height, i, rng);
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    if (tjCompress2(encoder, rgb.data(), width, 0, height, TJPF_RGB, &jpeg, &size, TJSAMP_420, 75,
                    0) != 0) {
      std::fprintf(stderr, "encode failed: %s\n", tjGetErrorStr2(encoder));
      std::exit(2);
    }
    frames.emplace_back(jpeg, jpeg + size);
    tjFree(jpeg);
  }
  tjDestroy(encoder);
  return frames;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

struct Figures {
  double decoder_fps;
  double turbojpeg_fps;
};

// How much faster FrameDecoder decodes the frames at 1/2, 1/4 and 1/8 than
// at full size, alternating in rounds; the median round's figures.
void MeasureScales(int width, int height, double seconds) {
  const std::vector<Bytes> frames = MakeFrames(width, height, 16);
  std::vector<FrameStream> streams(frames.size());
  for (std::size_t i = 0; i < frames.size(); ++i) streams[i].Append(frames[i].data(), frames[i].size());
  FrameDecoder decoder;
  const int denominators[] = {1, 2, 4, 8};
  std::vector<double> times[4];
  const auto end = Clock::now() + std::chrono::duration<double>(seconds);
  while (Clock::now() < end || times[0].size() < 5) {
    for (int k = 0; k < 4; ++k) {
      ImageTarget target(denominators[k]);
      const auto t0 = Clock::now();
      for (FrameStream& stream : streams)
        if (decoder.Decode(stream, target) != 1) std::exit(3);
      times[k].push_back(std::chrono::duration<double>(Clock::now() - t0).count());
    }
  }
  const double full = Median(times[0]);
  std::printf("%dx%d scaled decoding: full %.1f fps", width, height, double(frames.size()) / full);
  for (int k = 1; k < 4; ++k)
    std::printf(", 1/%d %.2fx", denominators[k], full / Median(times[k]));
  std::printf("\n");
}

// Rounds of one pass over all frames with each decoder in turn; fps from the
// median round.
Figures Measure(int width, int height, int rows_per_call, double seconds) {
  const std::vector<Bytes> frames = MakeFrames(width, height, 16);
  FrameDecoder decoder;
  decoder.SetRowsPerCall(rows_per_call);
  ImageTarget target;
  // The reader's copy into the stream is not the decoder's work: one filled
  // stream per frame, as tjDecompress2 gets its bytes in place.
  std::vector<FrameStream> streams(frames.size());
  for (std::size_t i = 0; i < frames.size(); ++i) streams[i].Append(frames[i].data(), frames[i].size());
  tjhandle tj = tjInitDecompress();
  std::vector<std::uint8_t> bgrx(std::size_t(width) * height * 4);

  auto decode_ours = [&] {
    for (FrameStream& stream : streams) {
      if (decoder.Decode(stream, target) != 1) std::exit(3);
    }
  };
  auto decode_tj = [&] {
    for (const Bytes& f : frames) {
      if (tjDecompress2(tj, f.data(), f.size(), bgrx.data(), width, 0, height, TJPF_BGRX, 0) != 0)
        std::exit(4);
    }
  };
  decode_ours();  // warm-up: bitmap, stream and library tables settle
  decode_tj();

  std::vector<double> ours, theirs;
  const auto end = Clock::now() + std::chrono::duration<double>(seconds);
  while (Clock::now() < end || ours.size() < 5) {
    auto t0 = Clock::now();
    decode_ours();
    auto t1 = Clock::now();
    decode_tj();
    auto t2 = Clock::now();
    ours.push_back(std::chrono::duration<double>(t1 - t0).count());
    theirs.push_back(std::chrono::duration<double>(t2 - t1).count());
  }
  tjDestroy(tj);
  const double n = double(frames.size());
  return {n / Median(ours), n / Median(theirs)};
}

void Print(const char* prefix, const Figures& f) {
  std::printf("%sratio=%.3f decoder_fps=%.1f turbojpeg_fps=%.1f\n", prefix,
              f.decoder_fps / f.turbojpeg_fps, f.decoder_fps, f.turbojpeg_fps);
}

}  // namespace

int main(int argc, char** argv) {
  // Seconds for each one-row measurement; the several-rows ones take half.
  const double seconds = argc > 1 ? std::atof(argv[1]) : 2.5;
  MeasureScales(704, 576, seconds / 2);
  const Figures hd_rows = Measure(1280, 720, 8, seconds / 2);
  Print("1280x720 rows_per_call=8 ", hd_rows);
  const Figures d1_rows = Measure(704, 576, 8, seconds / 2);
  Print("704x576 rows_per_call=8 ", d1_rows);
  const Figures hd = Measure(1280, 720, 1, seconds);
  Print("1280x720 rows_per_call=1 ", hd);
  const Figures d1 = Measure(704, 576, 1, seconds);
  Print("", d1);
  return 0;
}
