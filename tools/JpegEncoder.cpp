#include "tools/JpegEncoder.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>

struct JpegEncoder::State {
  struct ErrorManager {
    jpeg_error_mgr pub;  // first, so the library's pointer is ours
    std::jmp_buf jump;
  };
  jpeg_compress_struct cinfo{};
  ErrorManager error{};
};

namespace {

[[noreturn]] void ErrorExit(j_common_ptr cinfo) {
  auto* error = reinterpret_cast<JpegEncoder::State::ErrorManager*>(cinfo->err);
  (*cinfo->err->output_message)(cinfo);
  std::longjmp(error->jump, 1);
}

// Runs between setjmp and a possible longjmp: only trivially destructible
// locals here. The output lands in a malloc'd buffer that libjpeg grows.
bool Compress(jpeg_compress_struct* cinfo, const std::uint8_t* rgb, int width, int height,
              int quality, unsigned char** buffer, unsigned long* size) {
  jpeg_mem_dest(cinfo, buffer, size);
  cinfo->image_width = JDIMENSION(width);
  cinfo->image_height = JDIMENSION(height);
  cinfo->input_components = 3;
  cinfo->in_color_space = JCS_RGB;
  jpeg_set_defaults(cinfo);
  jpeg_set_quality(cinfo, quality, TRUE);
  jpeg_start_compress(cinfo, TRUE);
  while (cinfo->next_scanline < cinfo->image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(rgb + std::size_t(cinfo->next_scanline) * width * 3);
    jpeg_write_scanlines(cinfo, &row, 1);
  }
  jpeg_finish_compress(cinfo);
  return true;
}

// The jump target for the error manager; nothing here changes after setjmp.
bool Guarded(JpegEncoder::State* s, const std::uint8_t* rgb, int width, int height, int quality,
             unsigned char** buffer, unsigned long* size) {
  if (setjmp(s->error.jump) != 0) {
    jpeg_abort_compress(&s->cinfo);
    return false;
  }
  return Compress(&s->cinfo, rgb, width, height, quality, buffer, size);
}

}  // namespace

JpegEncoder::JpegEncoder() : state_(std::make_unique<State>()) {
  state_->cinfo.err = jpeg_std_error(&state_->error.pub);
  state_->error.pub.error_exit = ErrorExit;
  jpeg_create_compress(&state_->cinfo);
}

JpegEncoder::~JpegEncoder() { jpeg_destroy_compress(&state_->cinfo); }

bool JpegEncoder::Encode(const std::uint8_t* rgb, int width, int height, int quality,
                         std::vector<std::uint8_t>& out) {
  out.clear();
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  const bool ok = Guarded(state_.get(), rgb, width, height, quality, &buffer, &size);
  if (ok && buffer) out.assign(buffer, buffer + size);
  std::free(buffer);
  return ok;
}
