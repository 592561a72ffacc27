#include "timeline/IndexScan.h"

#include <algorithm>

#include "archive/VolumeFormat.h"
#include "archive/VolumeRules.h"
#include "common/CameraMask.h"
#include "common/RecordKind.h"

bool EntryMakesRuns(std::int32_t camera, double time, std::int32_t offset, std::int32_t length,
                    const EntryRules& rules) {
  return CameraBit(camera) != 0 && WithinSeenTimes(time, rules.lower, rules.upper) &&
         time >= rules.from && time <= rules.to &&
         FrameWithinFile(offset, length, rules.fileSize);
}

std::int64_t IndexScan::Scan(const FileHandle& file, std::int64_t begin, std::int64_t end,
                             const EntryRules& rules, RunChains& chains) {
  buffer_.resize(std::size_t(SlotsPerRead * EntrySize));
  std::int64_t at = begin;
  while (at < end) {
    const std::int64_t slots = std::min(SlotsPerRead, (end - at) / EntrySize);
    if (slots <= 0 || !file.ReadAt(at, buffer_.data(), slots * EntrySize)) break;
    for (std::int64_t i = 0; i < slots; ++i) {
      const IndexEntry e = DecodeEntry(buffer_.data() + i * EntrySize);
      const auto kinds = static_cast<std::uint32_t>(e.Kind) & KindAll;
      if (kinds != 0 && EntryMakesRuns(e.Camera, e.Time, e.Offset, e.Length, rules))
        chains.Record(e.Camera, kinds, e.Time);
    }
    slotsRead_ += slots;
    at += slots * EntrySize;
  }
  return at;
}
