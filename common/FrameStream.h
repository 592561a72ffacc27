#pragma once
// FrameStream: the growable in-memory byte stream that holds one frame.
// The reader fills it, the decoder reads it from position 0, the export copies
// it. Clearing keeps the storage, so the steady state allocates nothing.

#include <cstddef>
#include <cstdint>
#include <vector>

class FrameStream {
 public:
  FrameStream() = default;

  // Size and position 0; the storage stays for the next frame.
  void Clear() {
    size_ = 0;
    position_ = 0;
  }

  std::size_t Size() const { return size_; }
  bool Empty() const { return size_ == 0; }
  const std::uint8_t* Data() const { return bytes_.data(); }

  std::size_t Position() const { return position_; }
  // Positions past the end are clamped to the end.
  void SetPosition(std::size_t position) { position_ = position < size_ ? position : size_; }

  // Copies up to count bytes from the position on and advances it; returns
  // the number copied (0 at the end).
  std::size_t Read(std::uint8_t* destination, std::size_t count);

  // Appends count bytes.
  void Append(const std::uint8_t* source, std::size_t count);

  // Makes room for count more bytes at the end and returns where they go, so
  // a file read can land in the stream with no buffer in between. The caller
  // fills them, or gives them back with Truncate.
  std::uint8_t* Extend(std::size_t count);

  // Drops everything after the first size bytes (no-op when already shorter).
  void Truncate(std::size_t size);

  // Capacity, for tests of the no-allocation rule.
  std::size_t Capacity() const { return bytes_.size(); }

 private:
  std::vector<std::uint8_t> bytes_;  // grows only; size_ is the stream's size
  std::size_t size_ = 0;
  std::size_t position_ = 0;
};
