#include "tools/MakeDemoCommand.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "archive/OrxWrite.h"
#include "common/CameraMask.h"
#include "common/DateTime.h"
#include "tools/DemoScene.h"
#include "tools/JpegEncoder.h"
#include "tools/ToolArgs.h"

namespace {

constexpr std::int64_t kVolumeSize = 16 * 1048576;
constexpr int kMaxVolumes = 8;  // 128 MiB in all
constexpr int kQuality = 70;

class UniqueFd {
 public:
  explicit UniqueFd(int fd) : fd_(fd) {}
  ~UniqueFd() {
    if (fd_ >= 0) ::close(fd_);
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  int Get() const { return fd_; }

 private:
  int fd_;
};

// A file of exactly kVolumeSize bytes (sparse, zero), which TOrxWrite then
// turns into an empty volume.
bool MakeVolumeFile(const std::string& path) {
  UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644));
  return fd.Get() >= 0 && ::ftruncate(fd.Get(), kVolumeSize) == 0;
}

// "demo-<digits>.oxa": a name this command gives.
bool IsDemoName(const std::string& name) {
  const std::string head = "demo-", tail = ".oxa";
  if (name.size() <= head.size() + tail.size() || !name.starts_with(head) ||
      !name.ends_with(tail))
    return false;
  return std::all_of(name.begin() + head.size(), name.end() - tail.size(),
                     [](char c) { return c >= '0' && c <= '9'; });
}

// Removes the volumes an earlier run made here, and nothing else.
void RemoveOldDemo(const std::string& dir) {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(dir, error))
    if (IsDemoName(entry.path().filename().string()))
      std::filesystem::remove(entry.path(), error);
}

struct VolumeMade {
  std::string path;
  std::int64_t frames = 0;
  double first = 0, last = 0;
};

}  // namespace

int RunMakeDemo(const std::vector<std::string>& args) {
  ToolArgs words(args);
  std::string dir = "build/demo";
  double start = MakeDateTime(2026, 12, 7, 9, 0, 0, 0);
  while (!words.Done()) {
    const std::string w = words.Take();
    if (w != "--out" && w != "--start")
      return UsageError("make-demo: unexpected '" + w + "'");
    const std::optional<std::string> v = words.TakeValue();
    if (!v || v->empty()) return UsageError("make-demo: " + w + " needs a value");
    if (w == "--out") {
      dir = *v;
    } else {
      const std::optional<double> t = ParseTime(*v);
      if (!t) return UsageError("make-demo: bad time '" + *v + "'");
      start = *t;
    }
  }
  const auto began = std::chrono::steady_clock::now();
  std::error_code error;
  std::filesystem::create_directories(dir, error);
  if (!std::filesystem::is_directory(dir)) {
    std::fprintf(stderr, "orxtool: make-demo: cannot make folder %s\n", dir.c_str());
    return ExitProblem;
  }
  RemoveOldDemo(dir);

  const DemoScene scene(start);
  const std::vector<DemoRecord> records = scene.Schedule();
  DemoCanvas canvas(DemoScene::FrameWidth, DemoScene::FrameHeight);
  JpegEncoder encoder;
  std::vector<std::uint8_t> jpeg;
  TOrxWrite writer;
  std::vector<VolumeMade> made;
  std::uint32_t camerasSeen = 0, kindsSeen = 0;

  auto nextVolume = [&]() {
    if (int(made.size()) >= kMaxVolumes) return false;
    char name[32];
    std::snprintf(name, sizeof name, "demo-%02d.oxa", int(made.size()) + 1);
    const std::string path = dir + "/" + name;
    if (!MakeVolumeFile(path) || !writer.Open(path)) {
      std::fprintf(stderr, "orxtool: make-demo: cannot make volume %s: %s\n", path.c_str(),
                   std::strerror(errno));
      return false;
    }
    made.push_back({path});
    return true;
  };
  if (!nextVolume()) return ExitProblem;

  for (const DemoRecord& r : records) {
    scene.Render(r, canvas);
    if (!encoder.Encode(canvas.Pixels(), canvas.Width(), canvas.Height(), kQuality, jpeg) ||
        jpeg.size() > ExportBuffer.size()) {
      std::fprintf(stderr, "orxtool: make-demo: frame could not be encoded within %d bytes\n",
                   ExportBufferSize);
      return ExitProblem;
    }
    std::memcpy(ExportBuffer.data(), jpeg.data(), jpeg.size());
    const double time = scene.TimeOf(r);
    int appended = writer.Append(r.camera, r.kind, time, std::int32_t(jpeg.size()));
    if (appended == 0) {
      if (!nextVolume()) {
        if (int(made.size()) >= kMaxVolumes)
          std::fprintf(stderr, "orxtool: make-demo: more than %d volumes needed\n", kMaxVolumes);
        return ExitProblem;
      }
      appended = writer.Append(r.camera, r.kind, time, std::int32_t(jpeg.size()));
    }
    if (appended != 1) {
      std::fprintf(stderr, "orxtool: make-demo: writing %s failed\n", made.back().path.c_str());
      return ExitProblem;
    }
    VolumeMade& v = made.back();
    if (v.frames++ == 0) v.first = time;
    v.last = time;
    camerasSeen |= CameraBit(r.camera);
    kindsSeen |= std::uint32_t(r.kind);
  }
  writer.Close();

  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
  for (const VolumeMade& v : made)
    std::printf("%s %lld bytes, %lld frames, %s to %s\n", v.path.c_str(),
                static_cast<long long>(kVolumeSize), static_cast<long long>(v.frames),
                FormatDateTimeIso(v.first).c_str(), FormatDateTimeIso(v.last).c_str());
  std::printf("made %zu volumes (%lld MiB), %zu frames of %d cameras, kinds 0x%X, in %.1f s\n",
              made.size(), static_cast<long long>(made.size() * kVolumeSize / 1048576),
              records.size(), __builtin_popcount(camerasSeen), kindsSeen, seconds);
  return ExitOk;
}
