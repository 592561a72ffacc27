#pragma once
// FrameDecoder: decodes the one JPEG frame held in a FrameStream into a
// FrameTarget's 32-bit bitmap through libjpeg. One decompression object
// serves every frame; a fatal library error is turned into -1 and the object
// is re-created, so the next frame decodes normally. libjpeg's messages go to
// standard error.

#include <memory>

#include "common/FrameStream.h"
#include "decode/FrameTarget.h"

class FrameDecoder {
 public:
  FrameDecoder();   // jpeg_std_error, then jpeg_create_decompress
  ~FrameDecoder();  // jpeg_destroy_decompress
  FrameDecoder(const FrameDecoder&) = delete;
  FrameDecoder& operator=(const FrameDecoder&) = delete;

  // REQUIRES: stream holds one frame's bytes from position 0.
  // 1: decoded into target.Bitmap() and target.Repaint() called.
  // -1: libjpeg reported a fatal error; target not repainted.
  int Decode(FrameStream& stream, FrameTarget& target);

  // Scanlines asked of libjpeg per call, 1 to kMaxRowsPerCall; 1 unless set.
  // Only the benchmark changes it, to weigh the cost of one row per call.
  static constexpr int kMaxRowsPerCall = 16;
  void SetRowsPerCall(int rows);

  // The libjpeg objects, kept out of this header (decode/FrameDecoderState.h).
  struct State;

 private:
  std::unique_ptr<State> state_;
};
