#pragma once
// DecoderErrorManager: libjpeg's standard error manager with error_exit
// replaced by a non-local return to the jump target that FrameDecoder arms
// for the frame being decoded. Warnings keep libjpeg's own path. Every
// message libjpeg writes is also kept, so a caller can tell what went wrong
// with a frame without reading standard error.

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

struct DecoderErrorManager {
  jpeg_error_mgr pub;  // must come first: error_exit finds the jump from it
  std::jmp_buf jump;   // valid only while armed
  bool armed;
  // false: messages are only kept, not written to standard error.
  bool to_standard_error;
  // The last message libjpeg wrote (its first warning of a frame, or the
  // fatal error that ended it); empty when none since the last clearing.
  char last_message[JMSG_LENGTH_MAX];
};

// The decoder's own fatal errors, formatted and written by libjpeg like its
// own messages.
enum DecoderMessage {
  kFirstDecoderMessage = 1000,
  kErrFrameSideTooBig = kFirstDecoderMessage,
  kErrFrameAreaTooBig,
  kErrTooManyScans,
  kErrBitmapAllocation,
  kLastDecoderMessage = kErrBitmapAllocation,
};

// jpeg_std_error, then the decoder's error_exit and message table.
// REQUIRES: called before jpeg_create_decompress on the object using it.
jpeg_error_mgr* InitDecoderErrorManager(DecoderErrorManager* manager);

// Raises one of the decoder's fatal errors with up to three integer
// arguments. Does not return.
[[noreturn]] void RaiseDecoderError(j_common_ptr cinfo, DecoderMessage code, int a = 0,
                                    int b = 0, int c = 0);
