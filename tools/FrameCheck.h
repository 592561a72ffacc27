#pragma once
// FrameCheck: verify --frames. Each frame is decoded through the viewer's
// own decoder, so what it reports is what the viewer will make of the frame:
// a frame that does not decode, or one that decodes only with libjpeg's
// corrupt-data warnings (a picture partly made up by the decoder).

#include <cstdint>
#include <string>

#include "archive/FileHandle.h"
#include "common/FrameStream.h"
#include "decode/FrameDecoder.h"
#include "decode/FrameTarget.h"

class FrameCheck {
 public:
  // libjpeg's messages are reported in the check's words, not on standard
  // error.
  FrameCheck();

  // Reads the length bytes at offset and decodes them. Empty when the frame
  // decodes cleanly; otherwise the problem, e.g. "does not decode (Bogus
  // marker length)" or "decodes with 2 warnings (Premature end of JPEG
  // file)".
  // REQUIRES: offset and length lie within the file.
  std::string Check(const FileHandle& file, std::int64_t offset, std::int64_t length);

  // Frames that decoded, with or without warnings.
  std::int64_t Decoded() const { return decoded_; }

 private:
  FrameDecoder decoder_;
  FrameStream stream_;
  ImageTarget target_;
  std::int64_t decoded_ = 0;
};
