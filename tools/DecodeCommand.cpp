#include "tools/DecodeCommand.h"

#include <cstdio>
#include <memory>

#include "archive/FileHandle.h"
#include "archive/VolumeFormat.h"
#include "common/FrameStream.h"
#include "decode/FrameDecoder.h"
#include "tools/ToolArgs.h"

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

// Reads a frame file whole: regular files only (a folder, a FIFO or a device
// such as /dev/zero is refused, never read without end) and no larger than
// the reader's frame limit. On false, why goes into reason.
bool ReadFrameFile(const std::string& path, FrameStream& stream, std::string& reason) {
  FileHandle file;
  if (!file.Open(path, FileHandle::Mode::ReadOnly)) {
    reason = file.FailureText();
    return false;
  }
  const std::int64_t size = file.Size();
  if (size < 0) {
    reason = "size unknown";
    return false;
  }
  if (size > MaxFrameLength) {
    reason = std::to_string(size) + " bytes, more than a frame may hold (" +
             std::to_string(MaxFrameLength) + ")";
    return false;
  }
  stream.Clear();
  std::uint8_t* to = stream.Extend(static_cast<std::size_t>(size));
  if (!file.ReadAt(0, to, size)) {
    stream.Clear();
    reason = "read failed";
    return false;
  }
  return true;
}

// Binary PPM: "P6\n<w> <h>\n255\n", then red, green, blue per pixel.
bool WritePpm(const QImage& image, const std::string& path) {
  std::unique_ptr<std::FILE, FileCloser> out(std::fopen(path.c_str(), "wb"));
  if (!out) return false;
  const int w = image.width(), h = image.height();
  bool ok = std::fprintf(out.get(), "P6\n%d %d\n255\n", w, h) > 0;
  std::vector<std::uint8_t> row(std::size_t(w) * 3);
  for (int y = 0; ok && y < h; ++y) {
    // Format_RGB32 rows hold blue, green, red, 0.
    const std::uint8_t* src = image.constScanLine(y);
    for (int x = 0; x < w; ++x) {
      row[std::size_t(x) * 3 + 0] = src[x * 4 + 2];
      row[std::size_t(x) * 3 + 1] = src[x * 4 + 1];
      row[std::size_t(x) * 3 + 2] = src[x * 4 + 0];
    }
    ok = std::fwrite(row.data(), 1, row.size(), out.get()) == row.size();
  }
  ok = std::fflush(out.get()) == 0 && ok;
  return ok;
}

}  // namespace

int RunDecode(const std::vector<std::string>& args) {
  for (const std::string& a : args)
    if (ToolArgs::IsOption(a)) return UsageError("decode: unknown option '" + a + "'");
  if (args.size() != 2) return UsageError("decode: needs IN.jpg and OUT.ppm");
  FrameStream stream;
  std::string reason;
  if (!ReadFrameFile(args[0], stream, reason)) {
    std::fprintf(stderr, "orxtool: decode: cannot read %s: %s\n", args[0].c_str(),
                 reason.c_str());
    return ExitProblem;
  }
  ImageTarget target;
  int result;
  {
    FrameDecoder decoder;
    result = decoder.Decode(stream, target);
  }
  if (result != 1) {
    std::fprintf(stderr, "orxtool: decode: %s is not a frame that can be decoded\n",
                 args[0].c_str());
    return ExitProblem;
  }
  if (!WritePpm(target.Bitmap(), args[1])) {
    std::fprintf(stderr, "orxtool: decode: cannot write %s\n", args[1].c_str());
    std::remove(args[1].c_str());
    return ExitProblem;
  }
  return ExitOk;
}
