#include "tools/VolumeProbe.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

VolumeProbe::VolumeProbe(const std::string& path) {
  errno = 0;
  if (!file_.Open(path, FileHandle::Mode::ReadOnly)) {
    reason_ = std::string("cannot be opened: ") + (errno ? std::strerror(errno) : "error");
    return;
  }
  size_ = file_.Size();
  if (size_ < 0) {
    state_ = State::CannotOpen;
    reason_ = "cannot be opened: size unknown";
    return;
  }
  std::uint8_t bytes[HeaderSize];
  if (size_ < HeaderSize || !file_.ReadAt(0, bytes, HeaderSize)) {
    state_ = State::TooShort;
    reason_ = "too short: " + std::to_string(size_) + " bytes, a header needs 32";
    return;
  }
  header_ = DecodeHeader(bytes);
  if (!header_.HasMagic()) {
    char text[96];
    std::snprintf(text, sizeof text, "magic words 0x%08X 0x%08X are not 0x%08X 0x%08X",
                  header_.MagicLow, header_.MagicHigh, VolumeMagicLow, VolumeMagicHigh);
    state_ = State::NotVolume;
    reason_ = text;
    return;
  }
  state_ = State::Volume;
}

bool VolumeProbe::RingPointersValid(int ring) const {
  const VolumeGeometry g = Geometry();
  const std::int64_t start = g.RingStart(ring), end = g.RingEnd(ring);
  const std::int64_t head = header_.Head(ring), tail = header_.Tail(ring);
  return head >= start && tail <= end && head <= tail && (head - start) % EntrySize == 0 &&
         (tail - start) % EntrySize == 0;
}

std::int64_t VolumeProbe::EntryCount(int ring) const {
  if (!RingPointersValid(ring)) return 0;
  return (std::int64_t(header_.Tail(ring)) - header_.Head(ring)) / EntrySize;
}

bool VolumeProbe::ReadEntry(std::int64_t offset, IndexEntry& entry) const {
  std::uint8_t bytes[EntrySize];
  if (offset < 0 || offset + EntrySize > size_ || !file_.ReadAt(offset, bytes, EntrySize))
    return false;
  entry = DecodeEntry(bytes);
  return true;
}
