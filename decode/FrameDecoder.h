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

  // Whether the last frame got as far as the bitmap: true for every frame
  // that decoded, and for one that failed after the bitmap was sized or
  // written; false for one that failed before (its header, say), which
  // left the bitmap as it was.
  bool WroteBitmap() const;

  // Corrupt-data warnings libjpeg gave while decoding the last frame: such a
  // frame decodes (1), with whatever libjpeg made of the damaged part.
  int Warnings() const;
  // libjpeg's text for the last frame: its fatal error, or else its first
  // warning; empty for a clean frame.
  const char* Message() const;
  // false: messages are kept for Message only, not written to standard
  // error (a tool that reports them in its own words).
  void SetMessagesToStandardError(bool enabled);

  // Scanlines asked of libjpeg per call, 1 to kMaxRowsPerCall; 1 unless set.
  // Only the benchmark changes it, to weigh the cost of one row per call.
  static constexpr int kMaxRowsPerCall = 16;
  void SetRowsPerCall(int rows);

  // The libjpeg objects, kept out of this header (decode/FrameDecoderState.h).
  struct State;

 private:
  std::unique_ptr<State> state_;
};
