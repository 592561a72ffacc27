#include "ArchVolumes.h"

#include <cstdio>
#include <cstring>

#include <jpeglib.h>

#include "archive/OrxWrite.h"
#include "tests/archive/support/VolumeBuilder.h"

namespace archtest {

Bytes EncodeJpeg(int width, int height, int seed, int quality) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr jerr{};
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = static_cast<JDIMENSION>(width);
  cinfo.image_height = static_cast<JDIMENSION>(height);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * 3);
  while (cinfo.next_scanline < cinfo.image_height) {
    const int y = static_cast<int>(cinfo.next_scanline);
    for (int x = 0; x < width; ++x) {
      row[x * 3 + 0] = static_cast<std::uint8_t>((x * 255) / width + seed * 40);
      row[x * 3 + 1] = static_cast<std::uint8_t>((y * 255) / height);
      row[x * 3 + 2] = static_cast<std::uint8_t>(((x / 16 + y / 16 + seed) % 2) * 200);
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  Bytes out(buffer, buffer + size);
  jpeg_destroy_compress(&cinfo);
  std::free(buffer);
  return out;
}

bool WriteVolume(const std::string& path, const std::vector<Record>& records,
                 const Bytes& frame, std::int64_t size) {
  if (frame.size() > ExportBuffer.size()) return false;
  orxtest::MakeFile(path, size);
  TOrxWrite writer;
  if (!writer.Open(path)) return false;
  std::memcpy(ExportBuffer.data(), frame.data(), frame.size());
  for (const Record& r : records) {
    if (writer.Append(r.camera, r.kind, r.time, static_cast<std::int32_t>(frame.size())) != 1)
      return false;
  }
  return true;
}

std::vector<Record> RoundRobin(double first, int count, int cameras, double stepSeconds,
                               std::int32_t kind) {
  std::vector<Record> out;
  for (int i = 0; i < count; ++i)
    out.push_back(Record{first + i * stepSeconds / 86400.0, i % cameras, kind});
  return out;
}

}  // namespace archtest
