#include "TestJpeg.h"

#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <random>

#include <jpeglib.h>

namespace {

struct QuietError {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
};

[[noreturn]] void QuietExit(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<QuietError*>(cinfo->err)->jump, 1);
}

void Quiet(j_common_ptr) {}

void SetSampling(jpeg_compress_struct& c, Subsampling s) {
  const int h = s == Subsampling::k444 ? 1 : 2;
  const int v = s == Subsampling::k420 ? 2 : 1;
  c.comp_info[0].h_samp_factor = h;
  c.comp_info[0].v_samp_factor = v;
  for (int i = 1; i < c.num_components; ++i) {
    c.comp_info[i].h_samp_factor = 1;
    c.comp_info[i].v_samp_factor = 1;
  }
}

// Segments before the first SOS: calls f(offset of 0xFF, marker); stops when f
// returns false. Returns the offset where it stopped or -1.
template <typename F>
int WalkHeader(const Bytes& j, F f) {
  std::size_t i = 2;
  while (i + 4 <= j.size() && j[i] == 0xFF) {
    const int marker = j[i + 1];
    if (!f(i, marker)) return int(i);
    i += 2 + (j[i + 2] << 8 | j[i + 3]);
  }
  return -1;
}

// End of the entropy data that starts at offset i: the next marker that is
// neither a stuffed zero nor a restart marker.
std::size_t EntropyEnd(const Bytes& j, std::size_t i) {
  for (; i + 1 < j.size(); ++i) {
    if (j[i] == 0xFF && j[i + 1] != 0 && !(j[i + 1] >= 0xD0 && j[i + 1] <= 0xD7)) return i;
  }
  return j.size();
}

}  // namespace

Bytes SyntheticSamples(const EncodeOptions& o) {
  std::mt19937 rng(o.seed);
  std::uniform_int_distribution<int> noise(-8, 8);
  Bytes s(std::size_t(o.width) * o.height * o.components);
  for (int y = 0; y < o.height; ++y) {
    for (int x = 0; x < o.width; ++x) {
      for (int c = 0; c < o.components; ++c) {
        int v = (x * (c + 1) * 255) / std::max(1, o.width - 1) / (c + 1) + y * 97 / std::max(1, o.height);
        if (((x + o.seed) / 9 + y / 7 + c) % 3 == 0) v = 255 - v;  // hard edges
        v += noise(rng);
        s[(std::size_t(y) * o.width + x) * o.components + c] = std::uint8_t(std::clamp(v, 0, 255));
      }
    }
  }
  return s;
}

Bytes Encode(const EncodeOptions& o, const Bytes& samples) {
  jpeg_compress_struct c;
  QuietError err;
  c.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = QuietExit;
  unsigned char* out = nullptr;
  unsigned long size = 0;
  if (setjmp(err.jump)) {
    jpeg_destroy_compress(&c);
    std::free(out);
    return {};
  }
  jpeg_create_compress(&c);
  jpeg_mem_dest(&c, &out, &size);
  c.image_width = JDIMENSION(o.width);
  c.image_height = JDIMENSION(o.height);
  c.input_components = o.components;
  c.in_color_space = o.components == 1 ? JCS_GRAYSCALE
                     : o.components == 3 ? JCS_RGB
                     : o.components == 4 ? JCS_CMYK
                                         : JCS_UNKNOWN;
  jpeg_set_defaults(&c);
  if (o.stored_as == StoredAs::kRgbAdobe || o.stored_as == StoredAs::kRgbComponentIds)
    jpeg_set_colorspace(&c, JCS_RGB);
  if (o.stored_as == StoredAs::kRgbComponentIds) c.write_Adobe_marker = FALSE;
  if (o.stored_as == StoredAs::kYcck) jpeg_set_colorspace(&c, JCS_YCCK);
  if (o.components >= 3) SetSampling(c, o.subsampling);
  jpeg_set_quality(&c, o.quality, TRUE);
  if (o.progressive) jpeg_simple_progression(&c);
  c.restart_in_rows = o.restart_rows;
  c.arith_code = o.arithmetic ? TRUE : FALSE;
  jpeg_start_compress(&c, TRUE);
  while (c.next_scanline < c.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(samples.data()) +
                   std::size_t(c.next_scanline) * o.width * o.components;
    jpeg_write_scanlines(&c, &row, 1);
  }
  jpeg_finish_compress(&c);
  Bytes result(out, out + size);
  jpeg_destroy_compress(&c);
  std::free(out);
  return result;
}

Bytes EncodeTablesOnly() {
  jpeg_compress_struct c;
  jpeg_error_mgr err;
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &out, &size);
  c.image_width = 8;
  c.image_height = 8;
  c.input_components = 3;
  c.in_color_space = JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_write_tables(&c);
  Bytes result(out, out + size);
  jpeg_destroy_compress(&c);
  std::free(out);
  return result;
}

Reference DecodeReference(const Bytes& jpeg, int out_color_space) {
  Reference r;
  jpeg_decompress_struct d;
  QuietError err;
  d.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = QuietExit;
  err.pub.output_message = Quiet;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&d);
    return Reference{};
  }
  jpeg_create_decompress(&d);
  jpeg_mem_src(&d, jpeg.data(), jpeg.size());
  jpeg_read_header(&d, TRUE);
  d.out_color_space = J_COLOR_SPACE(out_color_space);
  jpeg_start_decompress(&d);
  r.width = int(d.output_width);
  r.height = int(d.output_height);
  r.components = d.output_components;
  r.samples.resize(std::size_t(r.width) * r.height * r.components);
  while (d.output_scanline < d.output_height) {
    JSAMPROW row = r.samples.data() + std::size_t(d.output_scanline) * r.width * r.components;
    jpeg_read_scanlines(&d, &row, 1);
  }
  jpeg_finish_decompress(&d);
  jpeg_destroy_decompress(&d);
  r.ok = true;
  return r;
}

FrameStream StreamOf(const Bytes& bytes) {
  FrameStream s;
  s.Append(bytes.data(), bytes.size());
  return s;
}

int FindFrameHeader(const Bytes& jpeg) {
  return WalkHeader(jpeg, [](std::size_t, int m) {
    return !(m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC);
  });
}

Bytes WithDimensions(Bytes jpeg, int width, int height) {
  const int sof = FindFrameHeader(jpeg);
  if (sof < 0) return {};
  jpeg[sof + 5] = std::uint8_t(height >> 8);
  jpeg[sof + 6] = std::uint8_t(height);
  jpeg[sof + 7] = std::uint8_t(width >> 8);
  jpeg[sof + 8] = std::uint8_t(width);
  return jpeg;
}

int CountScans(const Bytes& jpeg) {
  int n = 0;
  for (std::size_t i = 0; i + 1 < jpeg.size(); ++i) n += jpeg[i] == 0xFF && jpeg[i + 1] == 0xDA;
  return n;
}

Bytes WithRepeatedLastScan(const Bytes& jpeg, int scans) {
  // Find every SOS and where its entropy data ends.
  std::size_t last_start = 0, last_end = 0;
  int found = 0;
  std::size_t i = std::size_t(WalkHeader(jpeg, [](std::size_t, int m) { return m != 0xDA; }));
  while (i + 4 <= jpeg.size() && jpeg[i] == 0xFF && jpeg[i + 1] != 0xD9) {
    const std::size_t segment_end = i + 2 + (jpeg[i + 2] << 8 | jpeg[i + 3]);
    const bool sos = jpeg[i + 1] == 0xDA;
    const std::size_t end = sos ? EntropyEnd(jpeg, segment_end) : segment_end;
    if (sos) {
      last_start = i;
      last_end = end;
      ++found;
    }
    i = end;
  }
  Bytes out(jpeg.begin(), jpeg.begin() + long(last_end));
  for (int n = found; n < scans; ++n)
    out.insert(out.end(), jpeg.begin() + long(last_start), jpeg.begin() + long(last_end));
  out.push_back(0xFF);
  out.push_back(0xD9);
  return out;
}

std::string CompareWithReference(const QImage& image, const Reference& ref) {
  if (!ref.ok) return "reference decode failed";
  if (image.format() != QImage::Format_RGB32) return "format is not RGB32";
  if (image.width() != ref.width || image.height() != ref.height)
    return "size " + std::to_string(image.width()) + "x" + std::to_string(image.height());
  for (int y = 0; y < ref.height; ++y) {
    const std::uint8_t* row = image.constScanLine(y);
    for (int x = 0; x < ref.width; ++x) {
      const std::uint8_t* s = &ref.samples[(std::size_t(y) * ref.width + x) * ref.components];
      const std::uint8_t r = s[0], g = ref.components == 1 ? s[0] : s[1],
                         b = ref.components == 1 ? s[0] : s[2];
      const std::uint8_t* p = row + 4 * x;
      if (p[0] != b || p[1] != g || p[2] != r || p[3] != 0) {
        char text[160];
        std::snprintf(text, sizeof text, "pixel (%d,%d): %u %u %u %u, want %u %u %u 0", x, y, p[0],
                      p[1], p[2], p[3], b, g, r);
        return text;
      }
    }
  }
  return "";
}
