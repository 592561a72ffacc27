// orxtool export --format oxa of an archive of 20 volumes against cp of the
// same volumes, page cache warm, in the same run. The export reads the
// index and every frame, writes each frame once into fresh volumes, puts
// every volume on disk and hashes every file for SHA256SUMS; cp only
// copies. Each of five rounds times cp and then the export, each into a
// fresh folder, after a sync so neither pays for the other's writeback; the
// medians are reported, the ratio as the median of the rounds' ratios.
// Last line: ratio=<cp seconds / export seconds> export_mib_s=<archive MiB
//            per export second> cp_mib_s=<...> export_s=<...> cp_s=<...>
// Usage: bench_export_tool [volumes, default 20]

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "archive/OrxWrite.h"
#include "common/DateTime.h"
#include "tools/JpegEncoder.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using Steady = std::chrono::steady_clock;

constexpr std::int64_t kVolumeSize = 10485760;

// A camera-like 704x576 picture with sensor noise: about 60 KB as JPEG.
Bytes Encode(int seed) {
  const int width = 704, height = 576;
  std::mt19937 rng(seed);
  std::normal_distribution<float> noise(0.0f, 6.0f);
  std::vector<std::uint8_t> rgb(std::size_t(width) * height * 3);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const float base = 60 + 120.0f * (x + y + 13 * seed) / (width + height);
      for (int c = 0; c < 3; ++c)
        rgb[(std::size_t(y) * width + x) * 3 + c] =
            std::uint8_t(std::clamp(base + 30 * c + noise(rng), 0.0f, 255.0f));
    }
  Bytes out;
  JpegEncoder().Encode(rgb.data(), width, height, 75, out);
  return out;
}

// Volumes of kVolumeSize bytes, each filled until it refuses a frame.
std::vector<std::string> MakeArchive(const fs::path& dir, int count, double base, double& last) {
  std::vector<Bytes> frames;
  for (int i = 0; i < 16; ++i) frames.push_back(Encode(i + 1));
  std::vector<std::string> paths;
  std::int64_t n = 0;
  for (int v = 0; v < count; ++v) {
    const std::string path = (dir / ("archive-" + std::to_string(v) + ".oxa")).string();
    fs::resize_file((std::ofstream(path), path), kVolumeSize);
    TOrxWrite writer;
    if (!writer.Open(path)) std::exit(2);
    for (;; ++n) {
      const Bytes& frame = frames[n % 16];
      std::memcpy(ExportBuffer.data(), frame.data(), frame.size());
      last = base + n * 0.04 / 86400.0;
      if (writer.Append(std::int32_t(n % 16), 1, last, std::int32_t(frame.size())) != 1) break;
    }
    paths.push_back(path);
  }
  return paths;
}

// Runs a program with its output thrown away; seconds it took, or -1.
double Timed(const std::vector<std::string>& args) {
  std::fflush(stdout);  // or the child's stdout would write it again
  const auto start = Steady::now();
  const pid_t pid = fork();
  if (pid == 0) {
    std::freopen("/dev/null", "w", stdout);
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  const double seconds = std::chrono::duration<double>(Steady::now() - start).count();
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? seconds : -1.0;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
  const fs::path dir =
      fs::temp_directory_path() / ("bench-export-tool-" + std::to_string(getpid()));
  fs::create_directories(dir);
  const double base = MakeDateTime(2001, 1, 5, 14, 0, 0);
  double last = base;
  const std::vector<std::string> volumes = MakeArchive(dir, count, base, last);
  const double mib = double(count) * kVolumeSize / 1048576.0;
  // Warm: every volume read once through the page cache.
  for (const std::string& v : volumes) Timed({"cat", v});

  std::vector<double> cpSeconds, exportSeconds, ratios;
  for (int round = 0; round < 5; ++round) {
    const fs::path copies = dir / ("cp" + std::to_string(round));
    const fs::path out = dir / ("out" + std::to_string(round));
    fs::create_directories(copies);
    std::vector<std::string> cp{"cp"};
    cp.insert(cp.end(), volumes.begin(), volumes.end());
    cp.push_back(copies.string());
    std::vector<std::string> exporting{ORXTOOL_PATH,
                                       "export",
                                       "--format",
                                       "oxa",
                                       "--quiet",
                                       "--from",
                                       FormatDayNumber(base),
                                       "--to",
                                       FormatDayNumber(last),
                                       "--out",
                                       out.string()};
    exporting.insert(exporting.end(), volumes.begin(), volumes.end());
    Timed({"sync"});
    const double copied = Timed(cp);
    Timed({"sync"});
    const double exported = Timed(exporting);
    if (copied <= 0 || exported <= 0) {
      std::fprintf(stderr, "bench_export_tool: cp or orxtool export failed\n");
      fs::remove_all(dir);
      return 1;
    }
    fs::remove_all(copies);
    fs::remove_all(out);
    cpSeconds.push_back(copied);
    exportSeconds.push_back(exported);
    ratios.push_back(copied / exported);
    std::printf("round %d: cp %.3f s, orxtool export %.3f s (%d volumes, %.0f MiB)\n", round,
                copied, exported, count, mib);
  }
  fs::remove_all(dir);
  const double exportS = Median(exportSeconds), cpS = Median(cpSeconds);
  std::printf("ratio=%.3f export_mib_s=%.1f cp_mib_s=%.1f export_s=%.3f cp_s=%.3f\n",
              Median(ratios), mib / exportS, mib / cpS, exportS, cpS);
  return 0;
}
