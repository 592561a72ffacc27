#include "archive/OrxRead.h"

#include <cmath>

#include "archive/VolumeRules.h"
#include "common/DateTime.h"
#include "platform/Clock.h"

namespace {

constexpr std::int64_t Slot = EntrySize;

}  // namespace

TOrxRead::TOrxRead(const VolumeList& volumes) : Volumes_(volumes) {}

TOrxRead::~TOrxRead() { Close(); }

void TOrxRead::Close() {
  Stream_.Close();
  FileName_.clear();
  IsOpen_ = false;
}

// ---- primitives -----------------------------------------------------------

bool TOrxRead::ReadHeader() {
  if (!IsOpen_ || !Stream_.IsOpen()) return false;
  ++ReadCount_;
  return ReadVolumeHeader(Stream_, Header_);
}

bool TOrxRead::ReadEntry(std::int64_t offset, IndexEntry& entry) {
  if (!IsOpen_ || !Stream_.IsOpen()) return false;
  ++ReadCount_;
  return ReadIndexEntry(Stream_, offset, entry);
}

bool TOrxRead::ReadFrame(std::int64_t offset, FrameStream& stream, std::int64_t length) {
  if (!IsOpen_ || !Stream_.IsOpen()) return false;
  // Against the size of this moment: the file may have been cut short since
  // the header was read.
  if (!FrameWithinFile(offset, length, Stream_.Size())) return false;
  const std::size_t before = stream.Size();
  std::uint8_t* where = stream.Extend(static_cast<std::size_t>(length));
  ++ReadCount_;
  if (!Stream_.ReadAt(offset, where, length)) {
    stream.Truncate(before);
    return false;
  }
  return true;
}

// Judged against the present file size, so no read goes outside the ring or
// the file.
bool TOrxRead::RingLive(int ring) const {
  return LiveEntries(Header_, ring, GeometryFor(FileSize_)) > 0;
}

// ---- Locate ---------------------------------------------------------------

bool TOrxRead::Locate(double time, RingTimes& times, bool headerFresh) {
  if (!headerFresh && !ReadHeader()) return false;
  FileSize_ = Stream_.Size();
  if (FileSize_ < 0) return false;
  bool matched = false;
  for (int ring = 0; ring < 2; ++ring) {
    times.first[ring] = NoTime;
    times.last[ring] = NoTime;
    if (!RingLive(ring)) continue;
    if (!ReadEntry(Header_.Head(ring), Entry_)) continue;
    const double first = Entry_.Time;
    if (!ReadEntry(std::int64_t{Header_.Tail(ring)} - Slot, Entry_)) continue;
    const double last = Entry_.Time;
    // A boundary that is not a finite time is damage: the ring is left out
    // rather than letting it stretch the archive's range to infinity.
    if (!std::isfinite(first) || !std::isfinite(last)) continue;
    if (first < LowerTime_) LowerTime_ = first;
    if (last > UpperTime_) UpperTime_ = last;
    times.first[ring] = first;
    times.last[ring] = last;
    if (first <= time && time <= last) {
      ActiveRing_ = ring;
      matched = true;
    }
  }
  return matched;
}

// ---- Seek -----------------------------------------------------------------

// 1: opened and a volume (header read); 0: opened, not a volume (closed
// again); -1: could not be opened.
int TOrxRead::OpenPath(std::size_t index) {
  Stream_.Close();
  FileName_.clear();
  const std::string& path = Volumes_[index];
  if (!Stream_.Open(path, FileHandle::Mode::ReadOnly)) return -1;
  FileName_ = path;
  VolumeIndex_ = static_cast<std::int64_t>(index);
  // A file shorter than the header fails the read and is no volume.
  if (ReadHeader() && Header_.HasMagic()) return 1;
  Stream_.Close();
  FileName_.clear();
  return 0;
}

void TOrxRead::CloseVolume() {
  Stream_.Close();
  FileName_.clear();
}

int TOrxRead::Seek(double& time, SeekDirection direction) {
  CloseVolume();
  if (Volumes_.empty()) {
    IsOpen_ = false;
    return -1;
  }
  if (time > UpperTime_) UpperTime_ = 0.0;
  if (time < LowerTime_) LowerTime_ = PresentTime();

  const bool forward = direction == SeekDirection::Forward;
  constexpr std::size_t None = static_cast<std::size_t>(-1);
  std::size_t best = None;
  double forwardBest = FarFuture;
  double backwardBest = 0.0;
  std::size_t newest = None;
  double newestTime = 0.0;
  std::size_t oldest = None;
  double oldestTime = FarFuture;
  bool anyOpened = false;

  for (std::size_t path = 0; path < Volumes_.size(); ++path) {
    IsOpen_ = true;
    const int opened = OpenPath(path);
    if (opened >= 0) anyOpened = true;
    if (opened != 1) continue;
    RingTimes times;
    if (Locate(time, times, /*headerFresh=*/true)) return 1;
    // Strict comparisons: among equal times the earlier volume in the list,
    // and within a volume ring 0, keeps the place.
    for (int ring = 0; ring < 2; ++ring) {
      const double first = times.first[ring];
      const double last = times.last[ring];
      if (!(first > NoTime && last > NoTime)) continue;
      if (newestTime < last) {
        newestTime = last;
        newest = path;
      }
      if (oldestTime > first) {
        oldestTime = first;
        oldest = path;
      }
      if (forward && time < first && first < forwardBest) {
        forwardBest = first;
        best = path;
      }
      if (!forward && time > last && last > backwardBest) {
        backwardBest = last;
        best = path;
      }
    }
    CloseVolume();
  }

  IsOpen_ = true;
  if (best != None && OpenPath(best) == 1) {
    time = forward ? forwardBest : backwardBest;
    return 1;
  }
  if (newest != None && time > newestTime && OpenPath(newest) == 1) {
    time = UpperTime_ = newestTime;
    return 0;
  }
  if (oldest != None && time < oldestTime && OpenPath(oldest) == 1) {
    time = LowerTime_ = oldestTime;
    return 0;
  }
  CloseVolume();
  IsOpen_ = anyOpened;
  return -1;
}

// ---- Open -----------------------------------------------------------------

bool TOrxRead::Open() {
  // One reading of the clock serves every step, so they agree.
  const double now = PresentTime();
  UpperTime_ = 0.0;
  LowerTime_ = now;
  double t = now;

  bool ok = false;
  CurrentTime_ = now;
  Positioned_ = false;
  WalkDirection_ = 0;
  CloseVolume();
  if (Volumes_.empty()) {
    IsOpen_ = false;
  } else {
    IsOpen_ = true;
    bool found = false;
    for (std::size_t path = 0; path < Volumes_.size(); ++path) {
      if (OpenPath(path) == 1) {
        found = true;
        break;
      }
    }
    if (found) {
      RingTimes times;
      if (Locate(CurrentTime_, times, /*headerFresh=*/true)) {
        ok = true;
      } else {
        Seek(CurrentTime_, SeekDirection::Backward);
        ok = IsOpen_;
      }
    }
  }
  if (!ok) ok = Seek(t, SeekDirection::Backward) != -1;
  // A list naming no volume leaves the reader unusable, not half-open.
  if (!ok) Close();
  return ok;
}

// ---- SetPosition ----------------------------------------------------------

int TOrxRead::SetPosition(double& time, SeekDirection direction) {
  // A position change: the next step starts its walk afresh from here.
  WalkDirection_ = 0;
  return Position(time, direction);
}

int TOrxRead::Position(double& time, SeekDirection direction) {
  if (!IsOpen_) return -1;
  // No record lies at a time that is not a number.
  if (std::isnan(time)) return 0;
  double t = time;
  int result = 1;
  RingTimes times;
  if (!Locate(t, times)) {
    result = Seek(t, direction);
    if (result == -1) return 0;
    if (!Locate(t, times)) return 0;
  }

  std::int64_t lo = Header_.Head(ActiveRing_);
  std::int64_t hi = std::int64_t{Header_.Tail(ActiveRing_)} - Slot;
  // Stops with lo and hi at most two entries apart; landing on hi going
  // forward and on lo going backward is what playback and export rely on.
  IndexEntry probe;
  while (hi - lo > 2 * Slot) {
    const std::int64_t n = (hi - lo) / Slot;
    const std::int64_t mid = lo + Slot * (n / 2);
    if (!ReadEntry(mid, probe)) return 0;
    if (probe.Time > t)
      hi = mid;
    else
      lo = mid;
  }

  const std::int64_t pos = direction == SeekDirection::Forward ? hi : lo;
  if (!ReadEntry(pos, Entry_)) return 0;
  EntryPos_ = static_cast<std::int32_t>(pos);
  Positioned_ = false;
  if (!WithinSeenTimes(Entry_.Time)) return 0;
  MakeEntryCurrent();
  time = CurrentTime_;
  return result;
}

std::string TOrxRead::GetRange(double& first, double& last) {
  if (IsOpen_) {
    first = LowerTime_;
    last = UpperTime_;
    return FileName_;
  }
  first = 0.0;
  last = 0.0;
  FileName_.clear();
  return std::string();
}
