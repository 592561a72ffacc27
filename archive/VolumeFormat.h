#pragma once
// The volume (.oxa) format shared by the reader and the writer.
// docs/volume-format.md describes it byte by byte.

#include <cstdint>
#include <string>
#include <vector>

// In file order the magic bytes read 00 11 22 33 44 55 66 77.
inline constexpr std::uint32_t VolumeMagicLow = 0x33221100u;
inline constexpr std::uint32_t VolumeMagicHigh = 0x77665544u;

inline constexpr std::int64_t HeaderSize = 32;
inline constexpr std::int64_t EntrySize = 32;
inline constexpr std::int64_t MinVolumeSize = 1048576;
inline constexpr std::int32_t MinFrameLength = 100;
inline constexpr std::int32_t MaxFrameLength = 1048576;
// Offsets are signed 32-bit words: no byte past this can be addressed.
inline constexpr std::int64_t MaxAddressableSize = 0x7FFFFFFF;
// The start value of a reader's minimum search over times (day 99,999,999,
// in the year 275,000): no later time is ever found as the earliest.
inline constexpr double FarFuture = 99999999.0;

struct VolumeHeader {
  std::uint32_t MagicLow = 0;
  std::uint32_t MagicHigh = 0;
  std::int32_t DataStart = 0;
  std::int32_t CurrentRing = 0;
  std::int32_t Ring0Head = 0;
  std::int32_t Ring0Tail = 0;
  std::int32_t Ring1Head = 0;
  std::int32_t Ring1Tail = 0;

  bool HasMagic() const {
    return MagicLow == VolumeMagicLow && MagicHigh == VolumeMagicHigh;
  }
  std::int32_t Head(int ring) const { return ring == 0 ? Ring0Head : Ring1Head; }
  std::int32_t Tail(int ring) const { return ring == 0 ? Ring0Tail : Ring1Tail; }
  void SetHead(int ring, std::int32_t v) { (ring == 0 ? Ring0Head : Ring1Head) = v; }
  void SetTail(int ring, std::int32_t v) { (ring == 0 ? Ring0Tail : Ring1Tail) = v; }
};

struct IndexEntry {
  std::int32_t Camera = 0;
  std::uint32_t Reserved1 = 0;
  double Time = 0.0;
  std::int32_t Kind = 0;
  std::int32_t Offset = 0;
  std::int32_t Length = 0;
  std::uint32_t Reserved2 = 0;
};

// Records are coded field by field, little-endian, never by casting buffers.
void EncodeHeader(const VolumeHeader& header, std::uint8_t out[HeaderSize]);
VolumeHeader DecodeHeader(const std::uint8_t in[HeaderSize]);
void EncodeEntry(const IndexEntry& entry, std::uint8_t out[EntrySize]);
IndexEntry DecodeEntry(const std::uint8_t in[EntrySize]);

// R = floor(S / 1024) * 32, computed in 64 bits.
inline constexpr std::int64_t RingSizeFor(std::int64_t fileSize) {
  return fileSize < 0 ? 0 : (fileSize / 1024) * 32;
}

// Where the regions of a volume of a given size lie.
struct VolumeGeometry {
  std::int64_t fileSize = 0;
  std::int64_t ringSize = 0;  // R
  std::int64_t RingStart(int ring) const { return HeaderSize + ring * ringSize; }
  std::int64_t RingEnd(int ring) const { return RingStart(ring) + ringSize; }
  std::int64_t DataStart() const { return HeaderSize + 2 * ringSize; }
  std::int64_t MaxEntriesPerRing() const { return ringSize / EntrySize; }
};
inline VolumeGeometry GeometryFor(std::int64_t fileSize) {
  return VolumeGeometry{fileSize, RingSizeFor(fileSize)};
}

// The header of a fresh, empty volume of the given file size.
VolumeHeader FreshHeader(std::int64_t fileSize);
