#pragma once
// JpegEncoder: libjpeg's compressor behind RAII, for the demo archive and
// the tests. One compression object serves every frame.

#include <cstdint>
#include <memory>
#include <vector>

class JpegEncoder {
 public:
  JpegEncoder();
  ~JpegEncoder();
  JpegEncoder(const JpegEncoder&) = delete;
  JpegEncoder& operator=(const JpegEncoder&) = delete;

  // Encodes width x height pixels of red, green, blue (rows top to bottom)
  // as a baseline 4:2:0 JPEG into out. False on a library error (its message
  // goes to standard error); out is then empty.
  bool Encode(const std::uint8_t* rgb, int width, int height, int quality,
              std::vector<std::uint8_t>& out);

  struct State;

 private:
  std::unique_ptr<State> state_;
};
