#pragma once
// Test support for the playback window: real JPEG frames encoded with
// libjpeg, and volumes written through TOrxWrite record by record.

#include <cstdint>
#include <string>
#include <vector>

#include "archive/VolumeFormat.h"
#include "common/RecordKind.h"

namespace archtest {

using Bytes = std::vector<std::uint8_t>;

// A baseline colour JPEG of width x height; seed picks the picture.
Bytes EncodeJpeg(int width, int height, int seed = 1, int quality = 75);

struct Record {
  double time = 0.0;
  std::int32_t camera = 0;
  std::int32_t kind = KindContinuous;
};

// Makes a fresh volume of size bytes at path and appends every record, each
// with the frame. False when the writer refused one.
bool WriteVolume(const std::string& path, const std::vector<Record>& records,
                 const Bytes& frame, std::int64_t size = MinVolumeSize);
// As above, with frames[i] the frame of records[i].
bool WriteVolume(const std::string& path, const std::vector<Record>& records,
                 const std::vector<Bytes>& frames, std::int64_t size);

// jpeg followed by bytes fixed by seed up to length in all: a big frame that
// still decodes quickly (the decoder stops at the end marker).
Bytes Padded(Bytes jpeg, std::size_t length, int seed);

// A live entry of a volume and its frame's bytes.
struct StoredFrame {
  IndexEntry entry;
  Bytes bytes;
};
// Every live entry of a volume, ring 0 first, each with its frame.
std::vector<StoredFrame> ReadVolumeFrames(const std::string& path);

// count records of cameras 0..cameras-1 in turn, step seconds apart from first.
std::vector<Record> RoundRobin(double first, int count, int cameras, double stepSeconds,
                               std::int32_t kind = KindContinuous);

}  // namespace archtest
