#include "archive/OrxRead.h"

#include <cmath>

#include "common/CameraMask.h"
#include "common/DateTime.h"
#include "common/RecordKind.h"
#include "platform/Clock.h"

namespace {

constexpr std::int64_t Slot = EntrySize;

// Within [LowerTime, UpperTime]. Written so that a NaN, which compares false
// with both bounds, is outside.
bool WithinSeenTimes(double time, double lower, double upper) {
  return time >= lower && time <= upper;
}

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
  std::uint8_t bytes[HeaderSize];
  ++ReadCount_;
  if (!Stream_.ReadAt(0, bytes, HeaderSize)) return false;
  Header_ = DecodeHeader(bytes);
  return true;
}

bool TOrxRead::ReadEntry(std::int64_t offset, IndexEntry& entry) {
  if (!IsOpen_ || !Stream_.IsOpen() || offset < 0) return false;
  std::uint8_t bytes[EntrySize];
  ++ReadCount_;
  // A short read (a slot past the end of the file) fails here.
  if (!Stream_.ReadAt(offset, bytes, EntrySize)) return false;
  entry = DecodeEntry(bytes);
  return true;
}

bool TOrxRead::ReadFrame(std::int64_t offset, FrameStream& stream, std::int64_t length) {
  if (!IsOpen_ || !Stream_.IsOpen()) return false;
  if (offset < 0 || length < MinFrameLength || length > MaxFrameLength) return false;
  // Against the size of this moment: the file may have been cut short since
  // the header was read.
  const std::int64_t size = Stream_.Size();
  if (size < 0 || offset + length > size) return false;
  const std::size_t before = stream.Size();
  std::uint8_t* where = stream.Extend(static_cast<std::size_t>(length));
  ++ReadCount_;
  if (!Stream_.ReadAt(offset, where, length)) {
    stream.Truncate(before);
    return false;
  }
  return true;
}

// A ring is used only when its pointers lie on slots of its own region of a
// file of the present size and Head <= Tail; otherwise it counts as empty, so
// no read ever goes outside the ring or the file.
bool TOrxRead::RingUsable(int ring, std::int64_t fileSize) const {
  const VolumeGeometry g = GeometryFor(fileSize);
  const std::int64_t start = g.RingStart(ring);
  const std::int64_t end = g.RingEnd(ring);
  const std::int64_t head = Header_.Head(ring);
  const std::int64_t tail = Header_.Tail(ring);
  return head >= start && tail <= end && head <= tail && end <= fileSize &&
         (head - start) % Slot == 0 && (tail - start) % Slot == 0;
}

bool TOrxRead::RingLive(int ring) const {
  return RingUsable(ring, FileSize_) && Header_.Head(ring) < Header_.Tail(ring);
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
int TOrxRead::OpenPath(const std::string& path) {
  Stream_.Close();
  FileName_.clear();
  if (!Stream_.Open(path, FileHandle::Mode::ReadOnly)) return -1;
  FileName_ = path;
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
  const std::string* best = nullptr;
  double forwardBest = FarFuture;
  double backwardBest = 0.0;
  const std::string* newest = nullptr;
  double newestTime = 0.0;
  const std::string* oldest = nullptr;
  double oldestTime = FarFuture;
  bool anyOpened = false;

  for (const std::string& path : Volumes_) {
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
        newest = &path;
      }
      if (oldestTime > first) {
        oldestTime = first;
        oldest = &path;
      }
      if (forward && time < first && first < forwardBest) {
        forwardBest = first;
        best = &path;
      }
      if (!forward && time > last && last > backwardBest) {
        backwardBest = last;
        best = &path;
      }
    }
    CloseVolume();
  }

  IsOpen_ = true;
  if (best != nullptr && OpenPath(*best) == 1) {
    time = forward ? forwardBest : backwardBest;
    return 1;
  }
  if (newest != nullptr && time > newestTime && OpenPath(*newest) == 1) {
    time = UpperTime_ = newestTime;
    return 0;
  }
  if (oldest != nullptr && time < oldestTime && OpenPath(*oldest) == 1) {
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
  CloseVolume();
  if (Volumes_.empty()) {
    IsOpen_ = false;
  } else {
    IsOpen_ = true;
    bool found = false;
    for (const std::string& path : Volumes_) {
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
  if (!WithinSeenTimes(Entry_.Time, LowerTime_, UpperTime_)) return 0;
  time = CurrentTime_ = Entry_.Time;
  return result;
}

// ---- Next / Previous ------------------------------------------------------

bool TOrxRead::Next(int count, std::uint32_t& camera, std::uint32_t& kinds, double& time,
                    FrameStream& stream) {
  return Step(true, count, camera, kinds, time, stream);
}

bool TOrxRead::Previous(int count, std::uint32_t& camera, std::uint32_t& kinds,
                        double& time, FrameStream& stream) {
  return Step(false, count, camera, kinds, time, stream);
}

bool TOrxRead::Step(bool forward, int count, std::uint32_t& camera, std::uint32_t& kinds,
                    double& time, FrameStream& stream) {
  if (!IsOpen_) return false;
  const SeekDirection direction = forward ? SeekDirection::Forward : SeekDirection::Backward;
  double t = CurrentTime_;
  const int ring = ActiveRing_;
  std::int64_t steps = count < 0 ? 0 : count;

  RingTimes times;
  const bool located = Locate(t, times);
  // The current record must still be a live slot of its ring: a recorder may
  // have dropped it from the Head since, and a reader that was never
  // positioned has no record at all. Either way, find it again by time.
  const std::int64_t head = Header_.Head(ActiveRing_);
  const std::int64_t tail = Header_.Tail(ActiveRing_);
  const bool onLiveSlot = EntryPos_ >= head && EntryPos_ < tail &&
                          (EntryPos_ - head) % Slot == 0;
  if (!located || ActiveRing_ != ring || !onLiveSlot) {
    if (SetPosition(t, direction) < 1) return false;
  }

  const std::int64_t first = Header_.Head(ActiveRing_);
  const std::int64_t end = Header_.Tail(ActiveRing_);
  const std::int64_t pos = EntryPos_;
  if (forward) {
    const std::int64_t last = end - Slot;
    if (pos + Slot * steps > last) steps = (end - pos) / Slot - 1;
    if (steps > 0) {
      EntryPos_ = static_cast<std::int32_t>(pos + Slot * steps);
    } else {
      double next = CurrentTime_ + StepGap;
      if (SetPosition(next, SeekDirection::Forward) < 1) return false;
    }
  } else {
    if (first + Slot * steps > pos) steps = (pos - first) / Slot;
    if (pos > first + Slot) {
      EntryPos_ = static_cast<std::int32_t>(pos - Slot * steps);
    } else {
      double previous = CurrentTime_ - StepGap;
      if (SetPosition(previous, SeekDirection::Backward) < 1) return false;
    }
  }

  if (!ReadEntry(EntryPos_, Entry_)) return false;
  if (!WithinSeenTimes(Entry_.Time, LowerTime_, UpperTime_)) return false;
  CurrentTime_ = Entry_.Time;

  // A camera outside 0..31 is never wanted, whatever the mask.
  const bool wanted = KindWanted(kinds, static_cast<std::uint32_t>(Entry_.Kind)) &&
                      CameraWanted(camera, Entry_.Camera);
  if (wanted) {
    if (!ReadFrame(Entry_.Offset, stream, Entry_.Length)) return false;
  } else {
    stream.Clear();
  }
  time = CurrentTime_;
  camera = static_cast<std::uint32_t>(Entry_.Camera);
  kinds = static_cast<std::uint32_t>(Entry_.Kind);
  return true;
}

// ---- GetRange -------------------------------------------------------------

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
