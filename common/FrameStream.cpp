#include "common/FrameStream.h"

#include <algorithm>
#include <cstring>

std::size_t FrameStream::Read(std::uint8_t* destination, std::size_t count) {
  const std::size_t available = size_ - position_;
  const std::size_t n = std::min(count, available);
  if (n > 0) std::memcpy(destination, bytes_.data() + position_, n);
  position_ += n;
  return n;
}

std::uint8_t* FrameStream::Extend(std::size_t count) {
  const std::size_t needed = size_ + count;
  if (needed > bytes_.size()) {
    // Grow geometrically so a run of growing frames settles quickly.
    bytes_.resize(std::max(needed, bytes_.size() * 2));
  }
  std::uint8_t* where = bytes_.data() + size_;
  size_ = needed;
  return where;
}

void FrameStream::Append(const std::uint8_t* source, std::size_t count) {
  if (count == 0) return;
  std::memcpy(Extend(count), source, count);
}

void FrameStream::Truncate(std::size_t size) {
  if (size < size_) size_ = size;
  if (position_ > size_) position_ = size_;
}
