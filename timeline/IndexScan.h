#pragma once
// IndexScan: reads a stretch of a ring's live slots in a few large reads and
// passes each entry the reader would hand out on to the chains. Frames are
// never read.

#include <cstdint>
#include <vector>

#include "archive/FileHandle.h"
#include "timeline/RunChains.h"

// Which entries make runs.
struct EntryRules {
  // The earliest ring start and the latest ring end seen in the archive.
  double lower = 0.0;
  double upper = 0.0;
  // Only records inside from..to (both included) make runs.
  double from = 0.0;
  double to = 0.0;
  // The volume's present size: a frame must lie inside it.
  std::int64_t fileSize = 0;
};

// Whether the reader would hand the entry out, with its frame, and the cut
// lets it through.
bool EntryMakesRuns(std::int32_t camera, double time, std::int32_t offset, std::int32_t length,
                    const EntryRules& rules);

class IndexScan {
 public:
  // Slots read in one go: 256 KiB.
  static constexpr std::int64_t SlotsPerRead = 8192;

  // Reads slots begin..end (offsets, end exclusive) of file. Returns the
  // offset one past the last slot read: end, or where a read failed.
  std::int64_t Scan(const FileHandle& file, std::int64_t begin, std::int64_t end,
                    const EntryRules& rules, RunChains& chains);

  // Slots read so far.
  std::int64_t SlotsRead() const { return slotsRead_; }

 private:
  std::vector<std::uint8_t> buffer_;
  std::int64_t slotsRead_ = 0;
};
