// Reader speed on an archive of 20 volumes of 10,485,760 bytes made by
// TOrxWrite: SetPosition to random times, and Next through records that the
// camera mask filters out, so Next reads the index only. Medians. Last line:
//   seek_us=<median per SetPosition> next_us=<median per Next>
//   preads_per_next=<positioned reads per Next>
// Usage: bench_reader [seeks, default 10000]

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "archive/OrxRead.h"
#include "archive/OrxWrite.h"
#include "bench/BenchFolder.h"
#include "common/RecordKind.h"
#include "platform/Clock.h"

namespace {

using SteadyClock = std::chrono::steady_clock;

constexpr int kVolumes = 20;
constexpr std::int64_t kVolumeSize = 10485760;
constexpr int kFramesPerVolume = 10000;  // nearly full index rings, 200,000 in all
constexpr int kCameras = 8;
constexpr double kStart = 46363.375;           // 2026-12-07 09:00
constexpr double kSpacing = 0.18 / 86400.0;    // ten hours over 200,000 frames
constexpr int kNextsPerSeek = 20;

bool MakeArchive(const std::string& dir, VolumeList& volumes) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> length(100, 400);
  const std::int32_t kinds[] = {KindContinuous, KindMotion, KindContinuous | KindMotion,
                                KindActivity, KindMotionHistory};
  int serial = 0;
  for (int v = 0; v < kVolumes; ++v) {
    char name[32];
    std::snprintf(name, sizeof name, "/vol-%02d.oxa", v + 1);
    const std::string path = dir + name;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const bool sized = fd >= 0 && ::ftruncate(fd, kVolumeSize) == 0;
    if (fd >= 0) ::close(fd);
    TOrxWrite writer;
    if (!sized || !writer.Open(path)) return false;
    for (int i = 0; i < kFramesPerVolume; ++i, ++serial) {
      const int n = length(rng);
      ExportBuffer[0] = 0xFF;
      ExportBuffer[1] = 0xD8;
      for (int b = 2; b < n; ++b) ExportBuffer[b] = std::uint8_t(serial + b);
      if (writer.Append(serial % kCameras, kinds[serial % 5], kStart + serial * kSpacing, n) != 1)
        return false;
    }
    volumes.push_back(path);
  }
  return true;
}

double Median(std::vector<double>& v) {
  if (v.empty()) return 0;
  std::nth_element(v.begin(), v.begin() + long(v.size() / 2), v.end());
  return v[v.size() / 2];
}

double Micros(SteadyClock::duration d) {
  return std::chrono::duration<double, std::micro>(d).count();
}

}  // namespace

int main(int argc, char** argv) {
  const int seeks = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;
  BenchFolder dir("reader");
  VolumeList volumes;
  if (dir.path.empty() || !MakeArchive(dir.path, volumes)) {
    std::fprintf(stderr, "bench_reader: cannot make the archive\n");
    return 1;
  }
  const double end = kStart + kVolumes * kFramesPerVolume * kSpacing;
  FixedClock now(end + 1.0);
  InstallClock(&now);

  TOrxRead reader(volumes);
  if (!reader.Open()) {
    std::fprintf(stderr, "bench_reader: Open failed\n");
    return 1;
  }
  std::mt19937 rng(12345);
  std::uniform_real_distribution<double> when(kStart, end);
  std::vector<double> seekUs, nextUs;
  seekUs.reserve(std::size_t(seeks));
  nextUs.reserve(std::size_t(seeks) * kNextsPerSeek);
  std::uint64_t nextReads = 0, nexts = 0, stepsTaken = 0;
  FrameStream stream;
  for (int s = 0; s < seeks; ++s) {
    double t = when(rng);
    const SeekDirection dir = (s % 2) ? SeekDirection::Backward : SeekDirection::Forward;
    const auto t0 = SteadyClock::now();
    const int r = reader.SetPosition(t, dir);
    seekUs.push_back(Micros(SteadyClock::now() - t0));
    if (r < 0) return 1;
    for (int i = 0; i < kNextsPerSeek; ++i) {
      std::uint32_t camera = 0, kinds = KindAll;  // no camera wanted: index only
      double time = 0;
      stream.Clear();
      const std::uint64_t before = reader.ReadCount();
      const auto n0 = SteadyClock::now();
      const bool ok = reader.Next(1, camera, kinds, time, stream);
      nextUs.push_back(Micros(SteadyClock::now() - n0));
      nextReads += reader.ReadCount() - before;
      ++nexts;
      stepsTaken += ok;
    }
  }
  InstallClock(nullptr);

  const double perNext = double(nextReads) / double(nexts);
  const double floor = 4.0;  // header, first and last entry of the live ring, the entry
  std::printf("archive: %d volumes of %lld bytes, %d frames; %d seeks, %llu nexts (%llu ok)\n",
              kVolumes, static_cast<long long>(kVolumeSize), kVolumes * kFramesPerVolume, seeks,
              static_cast<unsigned long long>(nexts), static_cast<unsigned long long>(stepsTaken));
  std::printf("floor: %.0f reads per Next (header + 2 entries per non-empty ring + the entry);"
              " measured %.3f, %.1f%% above the floor (ring ends search the next ring)\n",
              floor, perNext, (perNext / floor - 1.0) * 100.0);
  std::printf("seek_us=%.2f next_us=%.3f preads_per_next=%.3f\n", Median(seekUs), Median(nextUs),
              perNext);
  return 0;
}
