#pragma once
// MemoryStreamSource: libjpeg data source that reads a FrameStream, the
// in-memory counterpart of libjpeg's stdio source. The record and its input
// buffer come from the decompression object's permanent pool, so they live
// and die with the object.

#include <cstddef>
#include <cstdio>  // jpeglib.h needs FILE and size_t declared first

#include <jpeglib.h>

#include "common/FrameStream.h"

inline constexpr std::size_t kInputBufferSize = 4096;

struct MemoryStreamSource {
  jpeg_source_mgr pub;  // must come first: libjpeg sees only this part
  FrameStream* stream;  // not owned
  JOCTET* buffer;       // kInputBufferSize bytes
  boolean start_of_file;
};

// Allocates the record on the first call for a given object (and the first
// after each destroy-and-create), then points it at stream with an empty
// buffer, so the next read calls fill_input_buffer.
void InstallMemoryStreamSource(j_decompress_ptr cinfo, FrameStream* stream);
