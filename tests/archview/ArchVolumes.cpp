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

namespace {

template <typename FrameOf>
bool WriteRecords(const std::string& path, const std::vector<Record>& records,
                  std::int64_t size, FrameOf frameOf) {
  orxtest::MakeFile(path, size);
  TOrxWrite writer;
  if (!writer.Open(path)) return false;
  for (std::size_t i = 0; i < records.size(); ++i) {
    const Bytes& frame = frameOf(i);
    if (frame.size() > ExportBuffer.size()) return false;
    std::memcpy(ExportBuffer.data(), frame.data(), frame.size());
    const Record& r = records[i];
    if (writer.Append(r.camera, r.kind, r.time, static_cast<std::int32_t>(frame.size())) != 1)
      return false;
  }
  return true;
}

}  // namespace

bool WriteVolume(const std::string& path, const std::vector<Record>& records,
                 const Bytes& frame, std::int64_t size) {
  return WriteRecords(path, records, size, [&](std::size_t) -> const Bytes& { return frame; });
}

bool WriteVolume(const std::string& path, const std::vector<Record>& records,
                 const std::vector<Bytes>& frames, std::int64_t size) {
  if (frames.size() != records.size()) return false;
  return WriteRecords(path, records, size, [&](std::size_t i) -> const Bytes& { return frames[i]; });
}

Bytes Padded(Bytes jpeg, std::size_t length, int seed) {
  for (std::size_t i = jpeg.size(); i < length; ++i)
    jpeg.push_back(static_cast<std::uint8_t>(i * 31 + seed));
  return jpeg;
}

std::vector<StoredFrame> ReadVolumeFrames(const std::string& path) {
  const Bytes bytes = orxtest::ReadFileBytes(path);
  std::vector<StoredFrame> out;
  if (bytes.size() < HeaderSize) return out;
  const VolumeHeader h = DecodeHeader(bytes.data());
  for (int ring = 0; ring < 2; ++ring) {
    for (std::int64_t at = h.Head(ring); at < h.Tail(ring); at += EntrySize) {
      const IndexEntry e = DecodeEntry(bytes.data() + at);
      // A frame outside the file comes back empty, so the comparison fails.
      if (e.Offset < 0 || e.Length < 0 ||
          std::int64_t{e.Offset} + e.Length > static_cast<std::int64_t>(bytes.size())) {
        out.push_back(StoredFrame{e, Bytes()});
        continue;
      }
      const auto begin = bytes.begin() + e.Offset;
      out.push_back(StoredFrame{e, Bytes(begin, begin + e.Length)});
    }
  }
  return out;
}

std::vector<Record> RoundRobin(double first, int count, int cameras, double stepSeconds,
                               std::int32_t kind) {
  std::vector<Record> out;
  for (int i = 0; i < count; ++i)
    out.push_back(Record{first + i * stepSeconds / 86400.0, i % cameras, kind});
  return out;
}

}  // namespace archtest
