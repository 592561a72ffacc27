#include "archive/VolumeFormat.h"

#include <cstring>

#include "common/LittleEndian.h"

static_assert(HeaderSize == 32 && EntrySize == 32, "records are 32 bytes on disk");

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
