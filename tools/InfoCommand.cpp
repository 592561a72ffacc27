#include "tools/InfoCommand.h"

#include <cstdio>
#include <string>

#include "common/DateTime.h"
#include "tools/ToolArgs.h"
#include "tools/VolumeProbe.h"

namespace {

long long LL(std::int64_t v) { return static_cast<long long>(v); }

void PrintRing(const VolumeProbe& probe, int ring) {
  const VolumeHeader& h = probe.Header();
  std::printf("  ring %d: Head=%d Tail=%d", ring, h.Head(ring), h.Tail(ring));
  if (!probe.RingPointersValid(ring)) {
    std::printf(" pointers invalid (run orxtool verify)\n");
    return;
  }
  const std::int64_t count = probe.EntryCount(ring);
  std::printf(" entries=%lld", LL(count));
  if (count == 0) {
    std::printf(" (empty)\n");
    return;
  }
  IndexEntry first, last;
  if (!probe.ReadEntry(h.Head(ring), first) || !probe.ReadEntry(h.Tail(ring) - EntrySize, last)) {
    std::printf(" entries unreadable\n");
    return;
  }
  std::printf(" first=%s last=%s\n", FormatDateTimeIso(first.Time).c_str(),
              FormatDateTimeIso(last.Time).c_str());
}

// True when the file is a volume.
bool PrintVolume(const std::string& path) {
  const VolumeProbe probe(path);
  std::printf("%s\n", path.c_str());
  if (probe.Result() == VolumeProbe::State::CannotOpen) {
    std::printf("  volume: no (%s)\n", probe.Reason().c_str());
    return false;
  }
  std::printf("  size: %lld bytes\n", LL(probe.Size()));
  if (probe.Result() != VolumeProbe::State::Volume) {
    std::printf("  volume: no (%s)\n", probe.Reason().c_str());
    return false;
  }
  std::printf("  volume: yes\n");
  const VolumeGeometry g = probe.Geometry();
  std::printf("  geometry: R=%lld ring0=%lld..%lld ring1=%lld..%lld data=%lld..%lld"
              " slots_per_ring=%lld\n",
              LL(g.ringSize), LL(g.RingStart(0)), LL(g.RingEnd(0)), LL(g.RingStart(1)),
              LL(g.RingEnd(1)), LL(g.DataStart()), LL(g.fileSize), LL(g.MaxEntriesPerRing()));
  if (g.fileSize > MaxAddressableSize)
    std::printf("  note: bytes past %lld cannot be addressed by 32-bit offsets\n",
                LL(MaxAddressableSize));
  const VolumeHeader& h = probe.Header();
  std::printf("  header: MagicLow=0x%08X MagicHigh=0x%08X DataStart=%d CurrentRing=%d\n",
              h.MagicLow, h.MagicHigh, h.DataStart, h.CurrentRing);
  PrintRing(probe, 0);
  PrintRing(probe, 1);
  return true;
}

}  // namespace

int RunInfo(const std::vector<std::string>& args) {
  if (args.empty()) return UsageError("info: no volume given");
  for (const std::string& a : args)
    if (ToolArgs::IsOption(a)) return UsageError("info: unknown option '" + a + "'");
  bool allVolumes = true;
  for (const std::string& path : args) allVolumes = PrintVolume(path) && allVolumes;
  return allVolumes ? ExitOk : ExitProblem;
}
