#include "timeline/TimelineBuilder.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "archive/FileHandle.h"
#include "archive/VolumeFormat.h"
#include "archive/VolumeRules.h"

namespace {

// A volume as it stands: its header, size and the rings whose entries the
// reader can hand out, with their first and last times.
struct OpenVolume {
  FileHandle file;
  VolumeHeader header;
  VolumeGeometry geometry;
  bool usable[2] = {false, false};
  double first[2] = {0.0, 0.0};
  double last[2] = {0.0, 0.0};

  // False when the file cannot be opened or is not a volume.
  bool Open(const std::string& path) {
    if (!file.Open(path, FileHandle::Mode::ReadOnly)) return false;
    if (!ReadVolumeHeader(file, header) || !header.HasMagic()) return false;
    geometry = GeometryFor(file.Size());
    for (int ring = 0; ring < 2; ++ring) usable[ring] = ReadEnds(ring);
    return true;
  }

  // A live ring whose pointers fit the file and whose ends are finite times.
  bool ReadEnds(int ring) {
    if (LiveEntries(header, ring, geometry) == 0) return false;
    IndexEntry entry;
    if (!ReadIndexEntry(file, header.Head(ring), entry)) return false;
    first[ring] = entry.Time;
    if (!ReadIndexEntry(file, std::int64_t{header.Tail(ring)} - EntrySize, entry)) return false;
    last[ring] = entry.Time;
    return RingTimesUsable(first[ring], last[ring]);
  }

  bool SlotHolds(std::int64_t offset, const std::array<std::uint8_t, 32>& bytes) const {
    std::array<std::uint8_t, 32> now{};
    return file.ReadAt(offset, now.data(), EntrySize) && now == bytes;
  }
};

}  // namespace

TimelineBuilder::TimelineBuilder(VolumeList volumes, TimelineOptions options)
    : volumes_(std::move(volumes)),
      options_(options),
      runs_(options.gapSeconds),
      chains_(runs_),
      progress_(volumes_.size()) {}

void TimelineBuilder::SeeRingEnds() {
  for (const std::string& path : volumes_) {
    OpenVolume v;
    if (!v.Open(path)) continue;
    for (int ring = 0; ring < 2; ++ring) {
      if (!v.usable[ring]) continue;
      lower_ = std::min(lower_, v.first[ring]);
      upper_ = std::max(upper_, v.last[ring]);
    }
  }
  seen_ = true;
}

bool TimelineBuilder::Step() {
  if (next_ >= volumes_.size()) return false;
  if (!seen_) SeeRingEnds();
  ReadOnResult ignored;
  ReadVolume(next_, ignored);
  ++next_;
  return true;
}

void TimelineBuilder::ReadAll() {
  while (Step()) {
  }
}

ReadOnResult TimelineBuilder::ReadOn() {
  ReadOnResult result;
  // A volume that grew may have widened the range of times.
  SeeRingEnds();
  for (std::size_t index = 0; index < next_; ++index) ReadVolume(index, result);
  return result;
}

void TimelineBuilder::ReadVolume(std::size_t index, ReadOnResult& result) {
  OpenVolume v;
  if (!v.Open(volumes_[index])) return;
  if (index == next_) ++found_;
  for (int ring = 0; ring < 2; ++ring) {
    if (!v.usable[ring]) continue;
    // It may have grown since the range was taken.
    lower_ = std::min(lower_, v.first[ring]);
    upper_ = std::max(upper_, v.last[ring]);
  }
  const EntryRules rules{lower_, upper_, options_.from, options_.to, v.geometry.fileSize};
  for (int ring = 0; ring < 2; ++ring) {
    if (!v.usable[ring]) continue;
    RingProgress& p = progress_[index].rings[std::size_t(ring)];
    const std::int64_t head = v.header.Head(ring), tail = v.header.Tail(ring);
    std::int64_t from = head;
    if (p.readTo >= 0) {
      // Grown: the slot read last is still live and still holds what it
      // held. Otherwise the ring dropped what was read or started afresh.
      const bool grown =
          p.readTo > head && p.readTo <= tail && v.SlotHolds(p.readTo - EntrySize, p.lastSlot);
      if (grown) from = p.readTo;
      if (!grown || head != p.head) result.dropped = true;
    }
    const std::int64_t readTo = scan_.Scan(v.file, from, tail, rules, chains_);
    result.entries += (readTo - from) / EntrySize;
    p.head = head;
    if (readTo > from && v.file.ReadAt(readTo - EntrySize, p.lastSlot.data(), EntrySize))
      p.readTo = readTo;
  }
  chains_.Flush();
}
