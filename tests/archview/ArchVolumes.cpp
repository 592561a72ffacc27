#include "ArchVolumes.h"

#include <cstdio>
#include <cstring>

#include "archive/OrxWrite.h"
#include "tests/archive/support/VolumeBuilder.h"
#include "tools/JpegEncoder.h"

namespace archtest {

Bytes EncodeJpeg(int width, int height, int seed, int quality) {
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = rgb.data() + static_cast<std::size_t>(y) * width * 3;
    for (int x = 0; x < width; ++x) {
      row[x * 3 + 0] = static_cast<std::uint8_t>((x * 255) / width + seed * 40);
      row[x * 3 + 1] = static_cast<std::uint8_t>((y * 255) / height);
      row[x * 3 + 2] = static_cast<std::uint8_t>(((x / 16 + y / 16 + seed) % 2) * 200);
    }
  }
  Bytes out;
  JpegEncoder().Encode(rgb.data(), width, height, quality, out);
  return out;
}

bool WriteVolume(const std::string& path, const std::vector<Record>& records,
                 const Bytes& frame, std::int64_t size) {
  if (frame.size() > ExportBuffer.size()) return false;
  orxtest::MakeFile(path, size);
  TOrxWrite writer;
  if (!writer.Open(path)) return false;
  std::memcpy(ExportBuffer.data(), frame.data(), frame.size());
  for (const Record& r : records) {
    if (writer.Append(r.camera, r.kind, r.time, static_cast<std::int32_t>(frame.size())) != 1)
      return false;
  }
  return true;
}

std::vector<Record> RoundRobin(double first, int count, int cameras, double stepSeconds,
                               std::int32_t kind) {
  std::vector<Record> out;
  for (int i = 0; i < count; ++i)
    out.push_back(Record{first + i * stepSeconds / 86400.0, i % cameras, kind});
  return out;
}

}  // namespace archtest
