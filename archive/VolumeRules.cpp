#include "archive/VolumeRules.h"

#include <cmath>

PointerPlace PlaceOfPointer(std::int64_t value, int ring, const VolumeGeometry& g) {
  const std::int64_t start = g.RingStart(ring);
  if (value < start || value > g.RingEnd(ring)) return PointerPlace::OutsideRing;
  return (value - start) % EntrySize == 0 ? PointerPlace::OnSlot : PointerPlace::OffSlot;
}

bool RingPointersUsable(const VolumeHeader& h, int ring, const VolumeGeometry& g) {
  const std::int64_t head = h.Head(ring), tail = h.Tail(ring);
  return PlaceOfPointer(head, ring, g) == PointerPlace::OnSlot &&
         PlaceOfPointer(tail, ring, g) == PointerPlace::OnSlot && head <= tail &&
         g.RingEnd(ring) <= g.fileSize;
}

std::int64_t LiveEntries(const VolumeHeader& h, int ring, const VolumeGeometry& g) {
  if (!RingPointersUsable(h, ring, g)) return 0;
  return (std::int64_t{h.Tail(ring)} - h.Head(ring)) / EntrySize;
}

bool FrameWithinFile(std::int64_t offset, std::int64_t length, std::int64_t fileSize) {
  return offset >= 0 && length >= MinFrameLength && length <= MaxFrameLength &&
         offset + length <= fileSize;
}

bool TimeWithinSeekRange(double time) { return time > 0.0 && time < FarFuture; }

bool RingTimesUsable(double first, double last) {
  return std::isfinite(first) && std::isfinite(last);
}

// Written so that a NaN, which compares false with both bounds, is outside.
bool WithinSeenTimes(double time, double lower, double upper) {
  return time >= lower && time <= upper;
}

bool ReadVolumeHeader(const FileHandle& file, VolumeHeader& header) {
  std::uint8_t bytes[HeaderSize];
  if (!file.ReadAt(0, bytes, HeaderSize)) return false;
  header = DecodeHeader(bytes);
  return true;
}

bool ReadIndexEntry(const FileHandle& file, std::int64_t offset, IndexEntry& entry) {
  std::uint8_t bytes[EntrySize];
  if (offset < 0 || !file.ReadAt(offset, bytes, EntrySize)) return false;
  entry = DecodeEntry(bytes);
  return true;
}
