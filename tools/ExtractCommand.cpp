#include "tools/ExtractCommand.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <set>
#include <string>

#include "archive/OrxRead.h"
#include "archive/VolumeFolder.h"
#include "archive/VolumeRules.h"
#include "common/CameraMask.h"
#include "common/DateTime.h"
#include "tools/ToolArgs.h"

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

// cam05_2026-12-07_09-00-00.040.jpg: sorts by camera, then time, and holds no
// character a file system or a shell minds.
std::string FrameName(std::uint32_t camera, double time) {
  const DateTimeFields f = SplitDateTime(time);
  char name[64];
  std::snprintf(name, sizeof name, "cam%02u_%04d-%02d-%02d_%02d-%02d-%02d.%03d", camera, f.year,
                f.month, f.day, f.hour, f.minute, f.second, f.millisecond);
  return name;
}

bool WriteBytes(const std::string& path, const std::uint8_t* data, std::size_t size) {
  std::unique_ptr<std::FILE, FileCloser> out(std::fopen(path.c_str(), "wb"));
  if (!out) return false;
  const bool ok = std::fwrite(data, 1, size, out.get()) == size;
  return std::fflush(out.get()) == 0 && ok;
}

// The landing record of a positioning is not handed out by the reader's
// steps; read its frame from the open volume with the reader's own bounds.
bool ReadLandingFrame(const TOrxRead& reader, FrameStream& stream) {
  const IndexEntry& e = reader.Entry();
  FileHandle file;
  if (!file.Open(reader.FileName(), FileHandle::Mode::ReadOnly)) return false;
  if (!FrameWithinFile(e.Offset, e.Length, file.Size())) return false;
  stream.Clear();
  std::uint8_t* to = stream.Extend(std::size_t(e.Length));
  if (file.ReadAt(e.Offset, to, e.Length)) return true;
  stream.Clear();
  return false;
}

class Extractor {
 public:
  Extractor(std::string dir, std::int64_t count) : dir_(std::move(dir)), left_(count) {}

  // False when the file cannot be written.
  bool Write(std::uint32_t camera, double time, const FrameStream& stream) {
    std::string base = FrameName(camera, time);
    std::string name = base + ".jpg";
    for (int n = 2; !used_.insert(name).second; ++n) name = base + "_" + std::to_string(n) + ".jpg";
    const std::string path = dir_ + "/" + name;
    if (!WriteBytes(path, stream.Data(), stream.Size())) {
      std::fprintf(stderr, "orxtool: extract: cannot write %s\n", path.c_str());
      return false;
    }
    std::printf("%s %zu bytes\n", path.c_str(), stream.Size());
    --left_;
    return true;
  }
  bool Full() const { return left_ <= 0; }
  bool Wrote() const { return !used_.empty(); }

 private:
  std::string dir_;
  std::int64_t left_;
  std::set<std::string> used_;
};

}  // namespace

int RunExtract(const std::vector<std::string>& args) {
  ToolArgs words(args);
  VolumeList volumes;
  std::optional<double> at;
  std::int64_t count = 1;
  std::uint32_t cameras = AllCameras;
  std::optional<std::string> out;
  while (!words.Done()) {
    const std::string w = words.Take();
    if (w == "--at" || w == "--count" || w == "--cameras" || w == "--out") {
      const std::optional<std::string> v = words.TakeValue();
      if (!v) return UsageError("extract: " + w + " needs a value");
      if (w == "--at") {
        if (!(at = ParseTime(*v))) return UsageError("extract: bad time '" + *v + "'");
      } else if (w == "--count") {
        const auto n = ParseInteger(*v, 1, 1000000000);
        if (!n) return UsageError("extract: bad count '" + *v + "'");
        count = *n;
      } else if (w == "--cameras") {
        const auto m = ParseMask(*v);
        if (!m) return UsageError("extract: bad mask '" + *v + "'");
        cameras = *m;
      } else {
        out = *v;
      }
    } else if (ToolArgs::IsOption(w)) {
      return UsageError("extract: unknown option '" + w + "'");
    } else {
      volumes.push_back(w);
    }
  }
  if (volumes.empty()) return UsageError("extract: no volume given");
  volumes = WithFoldersOpened(volumes);
  if (!at) return UsageError("extract: --at TIME is required");
  if (!out || out->empty()) return UsageError("extract: --out DIR is required");
  std::error_code error;
  std::filesystem::create_directories(*out, error);
  if (!std::filesystem::is_directory(*out)) {
    std::fprintf(stderr, "orxtool: extract: cannot make folder %s\n", out->c_str());
    return ExitProblem;
  }

  TOrxRead reader(volumes);
  if (!reader.Open()) {
    std::fprintf(stderr, "orxtool: extract: no volume among the files given\n");
    return ExitProblem;
  }
  // Backward first, so the walk starts on or before TIME and no record at
  // TIME is passed over; records before TIME are skipped.
  double time = *at;
  const int landed = reader.SetPosition(time, SeekDirection::Backward);
  Extractor extractor(*out, count);
  FrameStream stream;
  if (landed == 1 || (landed == 0 && reader.CurrentTime() >= *at)) {
    const IndexEntry& e = reader.Entry();
    if (reader.CurrentTime() >= *at && CameraWanted(cameras, e.Camera) &&
        ReadLandingFrame(reader, stream) && !extractor.Write(std::uint32_t(e.Camera), e.Time, stream))
      return ExitProblem;
  }
  if (landed != -1) {
    while (!extractor.Full()) {
      std::uint32_t camera = cameras, kinds = 15;
      stream.Clear();
      if (!reader.Next(1, camera, kinds, time, stream)) break;
      if (stream.Empty() || time < *at) continue;
      if (!extractor.Write(camera, time, stream)) return ExitProblem;
    }
  }
  if (!extractor.Wrote()) {
    std::fprintf(stderr, "orxtool: extract: no frame at or after %s\n",
                 FormatDateTimeIso(*at).c_str());
    return ExitProblem;
  }
  return ExitOk;
}
