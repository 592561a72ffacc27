#include "tools/VerifyCommand.h"

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "archive/VolumeFolder.h"
#include "archive/VolumeRules.h"
#include "common/CameraMask.h"
#include "export/ChecksumManifest.h"
#include "tools/FolderCheck.h"
#include "tools/FrameCheck.h"
#include "tools/ToolArgs.h"
#include "tools/VolumeProbe.h"

namespace {

// Ring slots are read this many at a time: one pread per 32 KiB of index.
constexpr std::int64_t kChunkEntries = 1024;

// Problem lines of one file: a screenful at most, then how many more there
// were. A damaged multi-gigabyte volume can break a rule in every slot.
class Report {
 public:
  static constexpr int kShownProblems = 20;

  explicit Report(const std::string& path) : path_(path) {}
  void Problem(const char* format, ...) __attribute__((format(printf, 2, 3))) {
    if (++problems_ > kShownProblems) return;
    char text[512];
    va_list ap;
    va_start(ap, format);
    std::vsnprintf(text, sizeof text, format, ap);
    va_end(ap);
    std::printf("%s: %s\n", path_.c_str(), text);
  }
  std::int64_t Problems() const { return problems_; }
  // "... and N more problems" when lines were held back.
  void Finish() const {
    if (problems_ > kShownProblems)
      std::printf("%s: ... and %lld more problems not listed\n", path_.c_str(),
                  static_cast<long long>(problems_ - kShownProblems));
  }

 private:
  const std::string& path_;
  std::int64_t problems_ = 0;
};

long long LL(std::int64_t v) { return static_cast<long long>(v); }

void CheckPointers(const VolumeProbe& probe, int ring, Report& report) {
  const VolumeGeometry g = probe.Geometry();
  const std::int64_t head = probe.Header().Head(ring), tail = probe.Header().Tail(ring);
  for (int which = 0; which < 2; ++which) {
    const std::int64_t v = which == 0 ? head : tail;
    const char* name = which == 0 ? "Head" : "Tail";
    switch (PlaceOfPointer(v, ring, g)) {
      case PointerPlace::OutsideRing:
        report.Problem("ring %d %s %lld outside the ring %lld..%lld", ring, name, LL(v),
                       LL(g.RingStart(ring)), LL(g.RingEnd(ring)));
        break;
      case PointerPlace::OffSlot:
        report.Problem("ring %d %s %lld not on a 32-byte slot", ring, name, LL(v));
        break;
      case PointerPlace::OnSlot:
        break;
    }
  }
  if (head > tail) report.Problem("ring %d Head %lld after Tail %lld", ring, LL(head), LL(tail));
}

// frames: null, or where each frame that passes the format's rules is
// decoded (verify --frames).
void CheckEntry(const VolumeProbe& probe, int ring, std::int64_t slot, const IndexEntry& e,
                double& previous, Report& report, FrameCheck* frames) {
  const std::int64_t size = probe.Size();
  const std::int64_t dataStart = probe.Geometry().DataStart();
  if (std::isnan(e.Time)) {
    report.Problem("ring %d slot %lld: time is not a number", ring, LL(slot));
  } else {
    if (!TimeWithinSeekRange(e.Time))
      report.Problem("ring %d slot %lld: time %.17g outside the times readers can find "
                     "(0 to %.0f)",
                     ring, LL(slot), e.Time, FarFuture);
    if (e.Time < previous)
      report.Problem("ring %d slot %lld: time %.17g before the previous entry's %.17g", ring,
                     LL(slot), e.Time, previous);
    previous = e.Time;
  }
  if (CameraBit(e.Camera) == 0)
    report.Problem("ring %d slot %lld: camera %d outside 0..31", ring, LL(slot), e.Camera);
  const std::int64_t offset = e.Offset, length = e.Length;
  bool bounded = true;
  if (length < MinFrameLength || length > MaxFrameLength) {
    report.Problem("ring %d slot %lld: frame length %lld outside %d..%d", ring, LL(slot),
                   LL(length), MinFrameLength, MaxFrameLength);
    bounded = false;
  }
  if (offset < dataStart) {
    report.Problem("ring %d slot %lld: frame offset %lld before the data area at %lld", ring,
                   LL(slot), LL(offset), LL(dataStart));
    bounded = false;
  } else if (offset + length > size) {
    report.Problem("ring %d slot %lld: frame %lld+%lld runs past the end of the file (%lld)",
                   ring, LL(slot), LL(offset), LL(length), LL(size));
    bounded = false;
  }
  if (!bounded || !FrameWithinFile(offset, length, size)) return;
  std::uint8_t soi[2];
  if (!probe.File().ReadAt(offset, soi, 2)) {
    report.Problem("ring %d slot %lld: frame at %lld cannot be read", ring, LL(slot), LL(offset));
    return;
  }
  if (soi[0] != 0xFF || soi[1] != 0xD8) {
    report.Problem("ring %d slot %lld: frame at %lld starts %02X %02X, not FF D8", ring, LL(slot),
                   LL(offset), soi[0], soi[1]);
    return;
  }
  if (!frames) return;
  const std::string problem = frames->Check(probe.File(), offset, length);
  if (!problem.empty())
    report.Problem("ring %d slot %lld: frame at %lld %s", ring, LL(slot), LL(offset),
                   problem.c_str());
}

// Returns the number of entries checked.
std::int64_t CheckRing(const VolumeProbe& probe, int ring, Report& report, FrameCheck* frames) {
  if (!probe.RingPointersValid(ring)) return 0;
  const std::int64_t head = probe.Header().Head(ring), tail = probe.Header().Tail(ring);
  std::vector<std::uint8_t> chunk(kChunkEntries * EntrySize);
  double previous = -INFINITY;
  for (std::int64_t at = head; at < tail; at += kChunkEntries * EntrySize) {
    const std::int64_t bytes = std::min(tail - at, kChunkEntries * EntrySize);
    if (!probe.File().ReadAt(at, chunk.data(), bytes)) {
      report.Problem("ring %d slots %lld..%lld cannot be read", ring, LL(at), LL(at + bytes));
      return (at - head) / EntrySize;
    }
    for (std::int64_t i = 0; i < bytes; i += EntrySize)
      CheckEntry(probe, ring, at + i, DecodeEntry(chunk.data() + i), previous, report, frames);
  }
  return (tail - head) / EntrySize;
}

// decodeFrames: verify --frames.
bool VerifyVolume(const std::string& path, bool decodeFrames) {
  Report report(path);
  const VolumeProbe probe(path);
  if (probe.Result() == VolumeProbe::State::CannotOpen) {
    std::printf("%s: %s\n", path.c_str(), probe.Reason().c_str());
    return false;
  }
  if (probe.Result() != VolumeProbe::State::Volume) {
    std::printf("%s: not a volume (%s)\n", path.c_str(), probe.Reason().c_str());
    return false;
  }
  const VolumeGeometry g = probe.Geometry();
  const VolumeHeader& h = probe.Header();
  if (h.DataStart != g.DataStart())
    report.Problem("header DataStart %d, expected 32 + 2R = %lld", h.DataStart, LL(g.DataStart()));
  if (h.CurrentRing != 0 && h.CurrentRing != 1)
    report.Problem("header CurrentRing %d is neither 0 nor 1", h.CurrentRing);
  if (g.fileSize > MaxAddressableSize)
    report.Problem("file of %lld bytes is larger than 32-bit offsets can address",
                   LL(g.fileSize));
  CheckPointers(probe, 0, report);
  CheckPointers(probe, 1, report);
  std::optional<FrameCheck> frames;
  if (decodeFrames) frames.emplace();
  FrameCheck* check = frames ? &*frames : nullptr;
  const std::int64_t entries =
      CheckRing(probe, 0, report, check) + CheckRing(probe, 1, report, check);
  if (report.Problems() == 0) {
    if (frames)
      std::printf("%s: ok, %lld entries, %lld frames decoded\n", path.c_str(), LL(entries),
                  LL(frames->Decoded()));
    else
      std::printf("%s: ok, %lld entries\n", path.c_str(), LL(entries));
    return true;
  }
  report.Finish();
  std::printf("%s: %lld problem%s\n", path.c_str(), LL(report.Problems()),
              report.Problems() == 1 ? "" : "s");
  return false;
}

// A folder: its SHA256SUMS when it has one, then each of its volumes.
bool VerifyFolder(std::string folder, bool decodeFrames) {
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  const int manifestProblems = CheckManifest(folder);
  const std::vector<std::string> volumes = VolumesInFolder(folder);
  if (manifestProblems < 0) {
    // Nothing to check is not a clean bill: the name may be a slip.
    std::printf("%s: is a folder without %s%s\n", folder.c_str(), ManifestName,
                volumes.empty() ? " or volumes" : "");
    if (volumes.empty()) return false;
  }
  bool clean = manifestProblems <= 0;
  for (const std::string& volume : volumes) clean = VerifyVolume(volume, decodeFrames) && clean;
  return clean;
}

bool IsFolder(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

int RunVerify(const std::vector<std::string>& args) {
  bool decodeFrames = false;
  std::vector<std::string> paths;
  for (const std::string& a : args) {
    if (a == "--frames")
      decodeFrames = true;
    else if (ToolArgs::IsOption(a))
      return UsageError("verify: unknown option '" + a + "'");
    else
      paths.push_back(a);
  }
  if (paths.empty()) return UsageError("verify: no volume given");
  bool clean = true;
  for (const std::string& path : paths)
    clean = (IsFolder(path) ? VerifyFolder(path, decodeFrames) : VerifyVolume(path, decodeFrames)) &&
            clean;
  return clean ? ExitOk : ExitProblem;
}
