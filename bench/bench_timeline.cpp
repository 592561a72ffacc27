// The timeline core against the reader: an archive of 200 volumes holding
// 3,000,000 index entries (sparse files: the entries are written, the frames
// they point at never are, as neither side reads a frame here), page cache
// warm. The core reads every ring in large reads; the walk steps the reader's
// Next through the same archive wanting no frame. Then the playback window
// (offscreen, 32 lanes) builds the runs of the same archive on its thread
// and paints its strip at every zoom: the longest time its own thread spent
// on that in one go. Last line:
//   ratio=<entries per second of the core / of the walk>
//   core_s=<median seconds of the core over the archive> runs=<runs made>
//   window_ms=<longest piece of timeline work on the window's thread>
// Usage: bench_timeline [core repeats, default 5]

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "archive/OrxRead.h"
#include "archive/VolumeFormat.h"
#include "bench/BenchFolder.h"
#include "bench/TimelineWindowBench.h"
#include "common/RecordKind.h"
#include "platform/Clock.h"
#include "timeline/TimelineBuilder.h"

namespace {

using SteadyClock = std::chrono::steady_clock;

constexpr int kVolumes = 200;
constexpr std::int64_t kVolumeSize = 16 * 1048576;  // 16,384 slots per ring
constexpr int kRing0Entries = 10000;
constexpr int kRing1Entries = 5000;  // the newer ring, as a recorder leaves it
constexpr int kCameras = 8;
constexpr std::int32_t kFrameLength = 1000;
constexpr double kStart = 46363.0;                // 2026-12-07 00:00
constexpr double kSpacing = 1.0 / 16 / 86400.0;  // 16 frames a second in all
// Motion-triggered recording: segments of 2,000 frames (125 s), then a gap
// of one to ten minutes.
constexpr int kSegment = 2000;

std::int32_t KindOf(int camera) {
  constexpr std::int32_t kinds[] = {KindContinuous, KindMotion, KindContinuous | KindMotion,
                                    KindActivity};
  return camera == 7 ? KindMotion | KindMotionHistory : kinds[camera % 4];
}

// Writes the header and both rings of one volume in three writes.
bool WriteVolume(const std::string& path, int& serial, double& time) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) return false;
  bool ok = ::ftruncate(fd, kVolumeSize) == 0;
  const VolumeGeometry g = GeometryFor(kVolumeSize);
  VolumeHeader h = FreshHeader(kVolumeSize);
  std::int64_t offset = g.DataStart();
  const int counts[2] = {kRing0Entries, kRing1Entries};
  for (int ring = 0; ring < 2 && ok; ++ring) {
    std::vector<std::uint8_t> slots(std::size_t(counts[ring]) * EntrySize);
    for (int i = 0; i < counts[ring]; ++i, ++serial) {
      if (serial % kSegment == 0 && serial > 0) time += (60 + (serial / kSegment) * 37 % 540) / 86400.0;
      IndexEntry e;
      e.Camera = serial % kCameras;
      e.Time = time;
      e.Kind = KindOf(e.Camera);
      e.Offset = static_cast<std::int32_t>(offset);
      e.Length = kFrameLength;
      EncodeEntry(e, slots.data() + std::size_t(i) * EntrySize);
      offset += kFrameLength;
      time += kSpacing;
    }
    ok = ::pwrite(fd, slots.data(), slots.size(), g.RingStart(ring)) == ssize_t(slots.size());
    h.SetTail(ring, static_cast<std::int32_t>(g.RingStart(ring) + std::int64_t(slots.size())));
  }
  h.CurrentRing = 1;
  std::uint8_t bytes[HeaderSize];
  EncodeHeader(h, bytes);
  ok = ok && ::pwrite(fd, bytes, sizeof bytes, 0) == ssize_t(sizeof bytes);
  return ::close(fd) == 0 && ok;
}

double Seconds(SteadyClock::duration d) { return std::chrono::duration<double>(d).count(); }

}  // namespace

int main(int argc, char** argv) {
  const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  BenchFolder dir("timeline");
  VolumeList volumes;
  int serial = 0;
  double time = kStart;
  for (int v = 0; v < kVolumes && !dir.path.empty(); ++v) {
    char name[32];
    std::snprintf(name, sizeof name, "/vol-%03d.oxa", v + 1);
    volumes.push_back(dir.path + name);
    if (!WriteVolume(volumes.back(), serial, time)) {
      std::fprintf(stderr, "bench_timeline: cannot make the archive\n");
      return 1;
    }
  }
  const double end = time;

  // The first pass warms the page cache; the others are timed.
  std::vector<double> core;
  std::size_t runs = 0;
  std::int64_t entries = 0;
  for (int r = 0; r <= repeats; ++r) {
    const auto t0 = SteadyClock::now();
    TimelineBuilder builder(volumes);
    builder.ReadAll();
    if (r > 0) core.push_back(Seconds(SteadyClock::now() - t0));
    runs = builder.Runs().RunCount();
    entries = builder.EntriesRead();
  }
  std::sort(core.begin(), core.end());
  const double coreS = core[core.size() / 2];

  FixedClock now(end + 1.0);
  InstallClock(&now);
  TOrxRead reader(volumes);
  std::int64_t walked = 0;
  const auto w0 = SteadyClock::now();
  if (reader.Open()) {
    double at = kStart - 1.0;
    reader.SetPosition(at, SeekDirection::Forward);
    FrameStream stream;
    for (;;) {
      std::uint32_t camera = 0, kinds = KindAll;  // no camera wanted: index only
      stream.Clear();
      if (!reader.Next(1, camera, kinds, at, stream)) break;
      ++walked;
    }
  }
  const double walkS = Seconds(SteadyClock::now() - w0);

  const double coreRate = double(entries) / coreS;
  const double walkRate = double(walked) / walkS;
  std::printf("archive: %d volumes of %lld bytes (sparse), %d index entries, %d cameras\n",
              kVolumes, static_cast<long long>(kVolumeSize), serial, kCameras);
  std::printf("core: %lld entries in %.3f s median of %d (%.3f..%.3f), %.1f M entries/s\n",
              static_cast<long long>(entries), coreS, repeats, core.front(), core.back(),
              coreRate / 1e6);
  std::printf("walk: %lld Next steps in %.3f s, %.3f M entries/s\n",
              static_cast<long long>(walked), walkS, walkRate / 1e6);
  // Goal: at most 20 ms in one go.
  const TimelineWindowFigures window = MeasureTimelineWindow(volumes, argc, argv);
  InstallClock(nullptr);
  std::printf("window: %d pieces of timeline work, median %.2f ms, longest %.2f ms\n",
              window.pieces, window.medianMs, window.longestMs);
  std::printf("ratio=%.1f core_s=%.3f runs=%zu window_ms=%.2f\n", coreRate / walkRate, coreS,
              runs, window.longestMs);
  return 0;
}
