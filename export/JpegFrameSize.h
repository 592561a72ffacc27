#pragma once
// The picture size a JPEG frame declares in its header, read by libjpeg
// without decoding the picture.

#include <cstddef>
#include <cstdint>

struct FrameSize {
  int width = 0;
  int height = 0;
  bool operator==(const FrameSize&) const = default;
};

// False when the bytes hold no readable JPEG header; libjpeg's messages are
// kept quiet (the frame is exported unchanged all the same).
bool ReadJpegFrameSize(const std::uint8_t* bytes, std::size_t length, FrameSize& size);
