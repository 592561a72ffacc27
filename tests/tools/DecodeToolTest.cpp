#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <jpeglib.h>

#include "tests/archive/support/VolumeBuilder.h"
#include "tests/tools/ToolRun.h"
#include "tools/JpegEncoder.h"

using orxtest::Sec;

namespace {

using Bytes = std::vector<std::uint8_t>;

// A picture with edges and colour in every channel, so a swapped channel or
// a shifted row shows.
Bytes Picture(int w, int h) {
  Bytes rgb(std::size_t(w) * h * 3);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      std::uint8_t* p = &rgb[(std::size_t(y) * w + x) * 3];
      p[0] = std::uint8_t(x * 255 / w);
      p[1] = std::uint8_t(y * 255 / h);
      p[2] = ((x / 8 + y / 8) % 2) ? 200 : 30;
    }
  return rgb;
}

Bytes Jpeg(int w, int h) {
  JpegEncoder encoder;
  Bytes out;
  EXPECT_TRUE(encoder.Encode(Picture(w, h).data(), w, h, 80, out));
  return out;
}

// libjpeg's own red-green-blue output for the same bytes.
Bytes LibjpegRgb(const Bytes& jpeg, int& w, int& h) {
  jpeg_decompress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, jpeg.data(), jpeg.size());
  jpeg_read_header(&cinfo, TRUE);
  cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&cinfo);
  w = int(cinfo.output_width);
  h = int(cinfo.output_height);
  Bytes rgb(std::size_t(w) * h * 3);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = &rgb[std::size_t(cinfo.output_scanline) * w * 3];
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return rgb;
}

TEST(DecodeTool, WritesBinaryPpmWithLibjpegsPixels) {
  orxtest::TempDir dir;
  const Bytes jpeg = Jpeg(37, 21);
  orxtest::WriteFile(dir.File("in.jpg"), jpeg);
  const ToolResult r = RunTool({"decode", dir.File("in.jpg"), dir.File("out.ppm")});
  ASSERT_EQ(r.exit, 0) << r.err;
  const Bytes ppm = orxtest::ReadFileBytes(dir.File("out.ppm"));
  const std::string header = "P6\n37 21\n255\n";
  ASSERT_GE(ppm.size(), header.size());
  EXPECT_EQ(std::string(ppm.begin(), ppm.begin() + long(header.size())), header);
  int w = 0, h = 0;
  const Bytes expected = LibjpegRgb(jpeg, w, h);
  EXPECT_EQ(Bytes(ppm.begin() + long(header.size()), ppm.end()), expected);
}

TEST(DecodeTool, UndecodableFrameExitsOneAndWritesNothing) {
  orxtest::TempDir dir;
  orxtest::WriteFile(dir.File("in.jpg"), orxtest::FramePayload(300, 7));
  const ToolResult r = RunTool({"decode", dir.File("in.jpg"), dir.File("out.ppm")});
  EXPECT_EQ(r.exit, 1);
  EXPECT_FALSE(std::filesystem::exists(dir.File("out.ppm")));
  EXPECT_NE(r.err, "");  // libjpeg's message and the tool's line
}

TEST(ExtractTool, WritesTheFramesFromTimeOnWithTheirBytes) {
  orxtest::TempDir dir;
  orxtest::VolumeBuilder v(dir.File("v.oxa"));
  for (int i = 0; i < 6; ++i) v.Add(0, Sec(i), i % 2 == 0 ? 3 : 12);
  const std::string out = dir.File("stills");
  const ToolResult r = RunTool({"extract", v.Path(), "--at", "2025-12-09T00:00:02", "--count",
                                "3", "--out", out});
  ASSERT_EQ(r.exit, 0) << r.err;
  const char* names[] = {"cam03_2025-12-09_00-00-02.000.jpg", "cam12_2025-12-09_00-00-03.000.jpg",
                         "cam03_2025-12-09_00-00-04.000.jpg"};
  std::size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(out)) (void)entry, ++files;
  EXPECT_EQ(files, 3u);
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(orxtest::ReadFileBytes(out + "/" + names[i]), v.PayloadOf(std::uint32_t(2 + i)))
        << names[i];
  EXPECT_EQ(r.OutLines().size(), 3u);
}

TEST(ExtractTool, CameraMaskAndArchiveStartAreHonoured) {
  orxtest::TempDir dir;
  orxtest::VolumeBuilder v(dir.File("v.oxa"));
  for (int i = 0; i < 6; ++i) v.Add(0, Sec(i), i % 2 == 0 ? 3 : 12);
  const std::string out = dir.File("stills");
  // From before the archive: the very first record counts too.
  const ToolResult r = RunTool({"extract", v.Path(), "--at", "45999", "--count", "10",
                                "--cameras", "0x8", "--out", out});
  ASSERT_EQ(r.exit, 0) << r.err;
  EXPECT_EQ(orxtest::ReadFileBytes(out + "/cam03_2025-12-09_00-00-00.000.jpg"), v.PayloadOf(0));
  EXPECT_EQ(orxtest::ReadFileBytes(out + "/cam03_2025-12-09_00-00-04.000.jpg"), v.PayloadOf(4));
  EXPECT_EQ(r.OutLines().size(), 3u) << r.out;
  const ToolResult none =
      RunTool({"extract", v.Path(), "--at", Day(Sec(60)), "--out", dir.File("late")});
  EXPECT_EQ(none.exit, 1);
}

}  // namespace
