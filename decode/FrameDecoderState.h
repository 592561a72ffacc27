#pragma once
// The libjpeg objects behind one FrameDecoder. Private to decode/.

#include <cstdint>

#include "decode/DecoderErrorManager.h"
#include "decode/FrameDecoder.h"
#include "decode/FrameLimits.h"

// Room for the widest row accepted (four bytes per pixel), so no frame can
// overrun it; 64 KiB, allocated once with the decoder.
inline constexpr unsigned kRowBufferSize = kMaxFrameSide * 4;

struct FrameDecoder::State {
  // The jump target sits right behind the library's error manager inside
  // error, so error_exit reaches it from cinfo->err alone.
  DecoderErrorManager error;
  jpeg_decompress_struct cinfo;
  ScanLimitMonitor scans;
  // Receives one scanline per call, which is then copied into the bitmap.
  alignas(16) JSAMPLE row_buffer[kRowBufferSize];
  int rows_per_call = 1;
  // The last frame got as far as the bitmap (see FrameDecoder::WroteBitmap).
  bool wrote_bitmap = false;
};

static_assert(kRowBufferSize >= unsigned(kMaxFrameSide) * 4, "a row of the widest frame must fit");
