#include "decode/MemoryStreamSource.h"

#include <jerror.h>

namespace {

// Called by jpeg_read_header before the first read.
void InitSource(j_decompress_ptr cinfo) {
  auto* src = reinterpret_cast<MemoryStreamSource*>(cinfo->src);
  src->start_of_file = TRUE;
}

// Called whenever the buffer is empty. Never suspends: past the end of the
// stream it warns and hands out an end-of-image marker, again and again, so
// a truncated frame still finishes with the rows it has.
boolean FillInputBuffer(j_decompress_ptr cinfo) {
  auto* src = reinterpret_cast<MemoryStreamSource*>(cinfo->src);
  std::size_t count = src->stream->Read(src->buffer, kInputBufferSize);
  if (count == 0) {
    if (src->start_of_file) ERREXIT(cinfo, JERR_INPUT_EMPTY);
    WARNMS(cinfo, JWRN_JPEG_EOF);
    src->buffer[0] = 0xFF;
    src->buffer[1] = JPEG_EOI;
    count = 2;
  }
  src->pub.next_input_byte = src->buffer;
  src->pub.bytes_in_buffer = count;
  src->start_of_file = FALSE;
  return TRUE;
}

// Called to skip uninteresting marker data; may cross buffer refills.
void SkipInputData(j_decompress_ptr cinfo, long count) {
  if (count <= 0) return;
  jpeg_source_mgr* pub = cinfo->src;
  while (static_cast<std::size_t>(count) > pub->bytes_in_buffer) {
    count -= static_cast<long>(pub->bytes_in_buffer);
    FillInputBuffer(cinfo);
  }
  pub->next_input_byte += count;
  pub->bytes_in_buffer -= static_cast<std::size_t>(count);
}

// Called by jpeg_finish_decompress; the stream stays where reading stopped.
void TermSource(j_decompress_ptr) {}

}  // namespace

void InstallMemoryStreamSource(j_decompress_ptr cinfo, FrameStream* stream) {
  if (cinfo->src == nullptr) {
    auto* src = static_cast<MemoryStreamSource*>((*cinfo->mem->alloc_small)(
        reinterpret_cast<j_common_ptr>(cinfo), JPOOL_PERMANENT, sizeof(MemoryStreamSource)));
    src->buffer = static_cast<JOCTET*>((*cinfo->mem->alloc_small)(
        reinterpret_cast<j_common_ptr>(cinfo), JPOOL_PERMANENT, kInputBufferSize * sizeof(JOCTET)));
    cinfo->src = &src->pub;
  }
  auto* src = reinterpret_cast<MemoryStreamSource*>(cinfo->src);
  src->pub.init_source = InitSource;
  src->pub.fill_input_buffer = FillInputBuffer;
  src->pub.skip_input_data = SkipInputData;
  src->pub.resync_to_restart = jpeg_resync_to_restart;
  src->pub.term_source = TermSource;
  src->stream = stream;
  src->pub.bytes_in_buffer = 0;
  src->pub.next_input_byte = nullptr;
}
