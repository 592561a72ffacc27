#pragma once
// Test support: builds volume files in any state the ring rules allow, and
// in damaged ones, by writing header fields, index slots and frame bytes
// directly. Every call goes straight to the file, so a reader sees the
// volume as it stands after each call.

#include <cstdint>
#include <string>
#include <vector>

#include "archive/VolumeFormat.h"
#include "common/RecordKind.h"

namespace orxtest {

// A fresh temporary directory, removed with everything in it at destruction.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// A date-time a whole number of milliseconds after a fixed base day
// (2025-12-09 00:00), so tests never depend on the clock.
inline constexpr double BaseDay = 46000.0;
inline double Ms(std::int64_t milliseconds) {
  return BaseDay + static_cast<double>(milliseconds) / 86400000.0;
}
inline double Sec(double seconds) { return BaseDay + seconds / 86400.0; }

// A JPEG-looking frame: FF D8, a pattern fixed by seed, FF D9 at the end.
std::vector<std::uint8_t> FramePayload(std::int32_t length, std::uint32_t seed);

// Makes (or replaces) a file of size bytes; every byte is fill.
void MakeFile(const std::string& path, std::int64_t size, std::uint8_t fill = 0);
// Replaces a file with exactly these bytes.
void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> ReadFileBytes(const std::string& path);

class VolumeBuilder {
 public:
  // Makes a file of size bytes holding a fresh, empty volume.
  VolumeBuilder(std::string path, std::int64_t size = MinVolumeSize);

  const std::string& Path() const { return path_; }
  const VolumeGeometry& Geometry() const { return geometry_; }
  std::int64_t SlotOffset(int ring, std::int64_t index) const {
    return geometry_.RingStart(ring) + index * EntrySize;
  }

  // The header as last written; edit it and call WriteHeader.
  VolumeHeader& Header() { return header_; }
  void WriteHeader();
  // Raw little-endian word of the header (for values no field edit gives).
  void PokeWord(std::int64_t offset, std::uint32_t value);

  // Makes slots [head, tail) of the ring its live range (indexes, not
  // offsets) and writes the header.
  void SetLive(int ring, std::int64_t head, std::int64_t tail);

  // Writes an entry into a slot without touching the header.
  void PutEntry(int ring, std::int64_t index, const IndexEntry& entry);
  // Writes bytes at an offset (frames, garbage).
  void PutBytes(std::int64_t offset, const std::vector<std::uint8_t>& bytes);

  // Appends a record at the ring's Tail: its frame (FramePayload seeded with
  // the record's serial number) goes at the builder's data cursor, the entry
  // into the Tail slot, and the Tail advances. Returns the entry written.
  IndexEntry Add(int ring, double time, std::int32_t camera = 0,
                 std::int32_t kind = KindContinuous, std::int32_t length = 200);
  // Adds count records at Sec(firstSecond + i * stepSeconds); with whole or
  // binary-fraction seconds the times compare exactly with Sec(...).
  void AddRun(int ring, std::int64_t count, double firstSecond, double stepSeconds,
              std::int32_t camera = 0, std::int32_t kind = KindContinuous);

  // The payload written for the record with this serial (0 for the first Add).
  std::vector<std::uint8_t> PayloadOf(std::uint32_t serial, std::int32_t length = 200) const {
    return FramePayload(length, serial);
  }
  std::int64_t DataCursor() const { return dataCursor_; }
  void SetDataCursor(std::int64_t offset) { dataCursor_ = offset; }

  // Cuts the file to size bytes (a volume truncated behind a reader's back).
  void Truncate(std::int64_t size);

 private:
  std::string path_;
  VolumeGeometry geometry_;
  VolumeHeader header_;
  std::int64_t dataCursor_;
  std::uint32_t serial_ = 0;
};

}  // namespace orxtest
