#pragma once
// VolumeProbe: opens a file and tells whether it is a volume, for info and
// verify. Keeps the reasons a file is not one in the user's words.

#include <cstdint>
#include <string>

#include "archive/FileHandle.h"
#include "archive/VolumeFormat.h"

class VolumeProbe {
 public:
  enum class State { CannotOpen, TooShort, NotVolume, Volume };

  explicit VolumeProbe(const std::string& path);

  State Result() const { return state_; }
  // Why the file is not a volume ("cannot be opened: ...", "is a folder",
  // "not a regular file", "too short: ...").
  const std::string& Reason() const { return reason_; }
  std::int64_t Size() const { return size_; }
  const VolumeHeader& Header() const { return header_; }
  VolumeGeometry Geometry() const { return GeometryFor(size_); }
  const FileHandle& File() const { return file_; }

  // Head and Tail of the ring lie on its slots, inside it, Head <= Tail.
  bool RingPointersValid(int ring) const;
  std::int64_t EntryCount(int ring) const;  // 0 unless the pointers are valid
  bool ReadEntry(std::int64_t offset, IndexEntry& entry) const;

 private:
  FileHandle file_;
  State state_ = State::CannotOpen;
  std::string reason_;
  std::int64_t size_ = 0;
  VolumeHeader header_{};
};
