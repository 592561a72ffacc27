#include "archive/VolumeFormat.h"

#include <bit>
#include <cstring>
#include <limits>

static_assert(HeaderSize == 32 && EntrySize == 32, "records are 32 bytes on disk");
static_assert(sizeof(double) == 8 && std::numeric_limits<double>::is_iec559,
              "times are IEEE 754 binary64");

namespace {

void PutU32(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
  p[2] = static_cast<std::uint8_t>(v >> 16);
  p[3] = static_cast<std::uint8_t>(v >> 24);
}

std::uint32_t GetU32(const std::uint8_t* p) {
  return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
         (std::uint32_t{p[3]} << 24);
}

void PutI32(std::uint8_t* p, std::int32_t v) { PutU32(p, static_cast<std::uint32_t>(v)); }
std::int32_t GetI32(const std::uint8_t* p) { return static_cast<std::int32_t>(GetU32(p)); }

void PutF64(std::uint8_t* p, double v) {
  const auto bits = std::bit_cast<std::uint64_t>(v);
  PutU32(p, static_cast<std::uint32_t>(bits));
  PutU32(p + 4, static_cast<std::uint32_t>(bits >> 32));
}

double GetF64(const std::uint8_t* p) {
  const std::uint64_t bits = std::uint64_t{GetU32(p)} | (std::uint64_t{GetU32(p + 4)} << 32);
  return std::bit_cast<double>(bits);
}

}  // namespace

void EncodeHeader(const VolumeHeader& h, std::uint8_t out[HeaderSize]) {
  PutU32(out + 0, h.MagicLow);
  PutU32(out + 4, h.MagicHigh);
  PutI32(out + 8, h.DataStart);
  PutI32(out + 12, h.CurrentRing);
  PutI32(out + 16, h.Ring0Head);
  PutI32(out + 20, h.Ring0Tail);
  PutI32(out + 24, h.Ring1Head);
  PutI32(out + 28, h.Ring1Tail);
}

VolumeHeader DecodeHeader(const std::uint8_t in[HeaderSize]) {
  VolumeHeader h;
  h.MagicLow = GetU32(in + 0);
  h.MagicHigh = GetU32(in + 4);
  h.DataStart = GetI32(in + 8);
  h.CurrentRing = GetI32(in + 12);
  h.Ring0Head = GetI32(in + 16);
  h.Ring0Tail = GetI32(in + 20);
  h.Ring1Head = GetI32(in + 24);
  h.Ring1Tail = GetI32(in + 28);
  return h;
}

void EncodeEntry(const IndexEntry& e, std::uint8_t out[EntrySize]) {
  PutI32(out + 0, e.Camera);
  PutU32(out + 4, e.Reserved1);
  PutF64(out + 8, e.Time);
  PutI32(out + 16, e.Kind);
  PutI32(out + 20, e.Offset);
  PutI32(out + 24, e.Length);
  PutU32(out + 28, e.Reserved2);
}

IndexEntry DecodeEntry(const std::uint8_t in[EntrySize]) {
  IndexEntry e;
  e.Camera = GetI32(in + 0);
  e.Reserved1 = GetU32(in + 4);
  e.Time = GetF64(in + 8);
  e.Kind = GetI32(in + 16);
  e.Offset = GetI32(in + 20);
  e.Length = GetI32(in + 24);
  e.Reserved2 = GetU32(in + 28);
  return e;
}

VolumeHeader FreshHeader(std::int64_t fileSize) {
  const VolumeGeometry g = GeometryFor(fileSize);
  VolumeHeader h;
  h.MagicLow = VolumeMagicLow;
  h.MagicHigh = VolumeMagicHigh;
  h.DataStart = static_cast<std::int32_t>(g.DataStart());
  h.CurrentRing = 0;
  h.Ring0Head = h.Ring0Tail = static_cast<std::int32_t>(g.RingStart(0));
  h.Ring1Head = h.Ring1Tail = static_cast<std::int32_t>(g.RingStart(1));
  return h;
}
