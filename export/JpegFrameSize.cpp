#include "export/JpegFrameSize.h"

#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE and size_t declared first

#include <jpeglib.h>

namespace {

struct QuietErrors {
  jpeg_error_mgr pub;  // must come first: the callbacks find the jump from it
  std::jmp_buf jump;
};

[[noreturn]] void JumpBack(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<QuietErrors*>(cinfo->err)->jump, 1);
}

void Quiet(j_common_ptr) {}

// Owns the decompression object; kept apart from the setjmp, whose frame
// must hold only trivially destructible locals.
struct Decompress {
  jpeg_decompress_struct cinfo{};
  QuietErrors errors{};
  Decompress() {
    cinfo.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = JumpBack;
    errors.pub.output_message = Quiet;
    jpeg_create_decompress(&cinfo);
  }
  ~Decompress() { jpeg_destroy_decompress(&cinfo); }
};

bool ReadHeader(Decompress& d, const std::uint8_t* bytes, std::size_t length, FrameSize& size) {
  if (setjmp(d.errors.jump)) return false;
  jpeg_mem_src(&d.cinfo, bytes, static_cast<unsigned long>(length));
  if (jpeg_read_header(&d.cinfo, TRUE) != JPEG_HEADER_OK) return false;
  size.width = static_cast<int>(d.cinfo.image_width);
  size.height = static_cast<int>(d.cinfo.image_height);
  return size.width > 0 && size.height > 0;
}

}  // namespace

bool ReadJpegFrameSize(const std::uint8_t* bytes, std::size_t length, FrameSize& size) {
  if (length == 0) return false;
  Decompress d;
  return ReadHeader(d, bytes, length, size);
}
