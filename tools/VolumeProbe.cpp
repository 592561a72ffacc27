#include "tools/VolumeProbe.h"

#include <cstdio>

#include "archive/VolumeRules.h"

VolumeProbe::VolumeProbe(const std::string& path) {
  if (!file_.Open(path, FileHandle::Mode::ReadOnly)) {
    const bool plain = file_.LastFailure() == FileHandle::Failure::System;
    reason_ = plain ? "cannot be opened: " + file_.FailureText() : file_.FailureText();
    return;
  }
  size_ = file_.Size();
  if (size_ < 0) {
    state_ = State::CannotOpen;
    reason_ = "cannot be opened: size unknown";
    return;
  }
  if (size_ < HeaderSize || !ReadVolumeHeader(file_, header_)) {
    state_ = State::TooShort;
    reason_ = "too short: " + std::to_string(size_) + " bytes, a header needs 32";
    return;
  }
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
  return RingPointersUsable(header_, ring, Geometry());
}

std::int64_t VolumeProbe::EntryCount(int ring) const {
  return LiveEntries(header_, ring, Geometry());
}

bool VolumeProbe::ReadEntry(std::int64_t offset, IndexEntry& entry) const {
  return ReadIndexEntry(file_, offset, entry);
}
