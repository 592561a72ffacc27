#include "bench/WindowBench.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>

#include "archive/OrxWrite.h"
#include "decode/FrameDecoder.h"
#include "decode/FrameTarget.h"
#include "tools/JpegEncoder.h"

namespace bench {

namespace {

Bytes Encode(int width, int height, int seed) {
  std::mt19937 rng(seed);
  std::normal_distribution<float> noise(0.0f, 6.0f);
  std::vector<std::uint8_t> rgb(std::size_t(width) * height * 3);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = rgb.data() + std::size_t(y) * width * 3;
    for (int x = 0; x < width; ++x) {
      float r = 40 + 150.0f * x / width, g = 60 + 120.0f * y / height, b = 120;
      if (((x / 48) + (y / 40) + seed) % 5 == 0) r = g = b = 215;
      if (std::abs((x - 11 * seed) % width - width / 3) < 20) { r = 30; g = 30; b = 200; }
      const float n = noise(rng);
      row[x * 3 + 0] = std::uint8_t(std::clamp(r + n, 0.0f, 255.0f));
      row[x * 3 + 1] = std::uint8_t(std::clamp(g + n, 0.0f, 255.0f));
      row[x * 3 + 2] = std::uint8_t(std::clamp(b + n, 0.0f, 255.0f));
    }
  }
  Bytes out;
  JpegEncoder().Encode(rgb.data(), width, height, 75, out);
  return out;
}

}  // namespace

std::vector<Bytes> CameraLikeFrames(int width, int height, int count) {
  std::vector<Bytes> frames;
  for (int i = 0; i < count; ++i) frames.push_back(Encode(width, height, i + 1));
  return frames;
}

bool WriteRoundRobinVolume(const std::string& path, std::int64_t size, int records,
                           const std::vector<Bytes>& frames, double base) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool sized = std::fseek(f, long(size - 1), SEEK_SET) == 0 && std::fputc(0, f) != EOF;
  if (std::fclose(f) != 0 || !sized) return false;
  TOrxWrite writer;
  if (!writer.Open(path)) return false;
  const auto count = std::int32_t(frames.size());
  for (int i = 0; i < records; ++i) {
    const Bytes& frame = frames[std::size_t(i % count)];
    std::memcpy(ExportBuffer.data(), frame.data(), frame.size());
    if (writer.Append(i % count, 1, base + i * 0.04 / 86400.0, std::int32_t(frame.size())) != 1)
      return false;
  }
  return true;
}

bool WriteCameraVolumes(const std::string& folder, std::int64_t volumeBytes, int cameras,
                        int fps, double seconds, const std::vector<Bytes>& frames, double base) {
  const long long records = static_cast<long long>(seconds * fps) * cameras;
  TOrxWrite writer;
  int volumes = 0;
  bool open = false;
  for (long long i = 0; i < records;) {
    if (!open) {
      const std::string path = folder + "/v" + std::to_string(volumes++) + ".oxa";
      FILE* f = std::fopen(path.c_str(), "wb");
      if (!f) return false;
      const bool sized =
          std::fseek(f, long(volumeBytes - 1), SEEK_SET) == 0 && std::fputc(0, f) != EOF;
      if (std::fclose(f) != 0 || !sized || !writer.Open(path)) return false;
      open = true;
    }
    const long long k = i / cameras;
    const int camera = int(i % cameras);
    const Bytes& frame = frames[std::size_t(i % std::int64_t(frames.size()))];
    std::memcpy(ExportBuffer.data(), frame.data(), frame.size());
    const double time = base + (double(k) / fps + camera * 0.001) / 86400.0;
    const int appended = writer.Append(camera, 1, time, std::int32_t(frame.size()));
    if (appended == 1) {
      ++i;
    } else {
      // Full: the next volume takes the frame.
      writer.Close();
      open = false;
      if (appended < 0) return false;
    }
  }
  return true;
}

double DecodeOnlySeconds(const std::vector<Bytes>& frames, int count) {
  FrameDecoder decoder;
  ImageTarget target;
  FrameStream stream;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < count; ++i) {
    const Bytes& frame = frames[std::size_t(i) % frames.size()];
    stream.Clear();
    stream.Append(frame.data(), frame.size());
    decoder.Decode(stream, target);
  }
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace bench
