#include "archive/OrxRead.h"

#include <cmath>

#include "archive/VolumeRules.h"
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
  if (!WithinSeenTimes(Entry_.Time, LowerTime_, UpperTime_)) return 0;
  MakeEntryCurrent();
  time = CurrentTime_;
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

void TOrxRead::MakeEntryCurrent() {
  CurrentTime_ = Entry_.Time;
  Current_ = Here();
  Positioned_ = true;
}

TOrxRead::RecordMark TOrxRead::Here() const {
  return RecordMark{Entry_.Time, VolumeIndex_, ActiveRing_, EntryPos_, true};
}

TOrxRead::RecordMark TOrxRead::CurrentMark() const {
  if (!Positioned_) return RecordMark{CurrentTime_, 0, 0, 0, false};
  return Current_;
}

// Strictly past the mark in the walk's direction: by time first; among equal
// times in volume list order, then ring order (ring 1 wins ties, as when
// locating), then slot order in the direction. A sound archive's steps always
// go this way, so the order only ever turns away a damaged ring's detours.
bool TOrxRead::Beyond(const RecordMark& mark, const RecordMark& at, bool forward) {
  if (at.time != mark.time) return forward ? at.time > mark.time : at.time < mark.time;
  if (!mark.hasSlot) return true;
  if (at.volume != mark.volume) return at.volume > mark.volume;
  if (at.ring != mark.ring) return at.ring > mark.ring;
  return forward ? at.slot > mark.slot : at.slot < mark.slot;
}

bool TOrxRead::Step(bool forward, int count, std::uint32_t& camera, std::uint32_t& kinds,
                    double& time, FrameStream& stream) {
  if (!IsOpen_) return false;
  const int direction = forward ? 1 : -1;
  if (WalkDirection_ != direction) {
    WalkMark_ = CurrentMark();
    WalkDirection_ = direction;
  }
  const RecordMark from = CurrentMark();
  if (!StepAsFormatSays(forward, count)) return false;
  if (!WithinSeenTimes(Entry_.Time, LowerTime_, UpperTime_)) return false;

  // Previous with a count of 0 hands the current record out again; any
  // other step goes strictly on, or fails.
  const RecordMark here = Here();
  const bool stays = !forward && count == 0 && from.hasSlot && here.volume == from.volume &&
                     here.ring == from.ring && here.slot == from.slot;
  if (!stays && !Beyond(WalkMark_, here, forward) && !StepPastMark(forward)) return false;
  MakeEntryCurrent();
  // The mark only ever moves on: a record handed out again by Previous(0)
  // may lie behind it (a failed step can leave the reader clamped there).
  if (!stays) WalkMark_ = Current_;

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

bool TOrxRead::StepAsFormatSays(bool forward, int count) {
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
    if (Position(t, direction) < 1) return false;
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
      double next = AfterStepGap(CurrentTime_);
      if (Position(next, SeekDirection::Forward) < 1) return false;
    }
  } else {
    if (first + Slot * steps > pos) steps = (pos - first) / Slot;
    if (pos > first + Slot) {
      EntryPos_ = static_cast<std::int32_t>(pos - Slot * steps);
    } else {
      double previous = BeforeStepGap(CurrentTime_);
      if (Position(previous, SeekDirection::Backward) < 1) return false;
    }
  }
  return ReadEntry(EntryPos_, Entry_);
}

// The step came back to where this walk has been, or behind it: only a ring
// whose times are out of order does that. Go on slot by slot to the first
// record past the mark; at the ring's end, move by time past the mark. The
// ring found there spans a time past the mark, so its far end is past it
// too: the search always ends, and never on a record handed out already.
bool TOrxRead::StepPastMark(bool forward) {
  if (ScanPastMark(forward, std::int64_t{EntryPos_} + (forward ? Slot : -Slot))) return true;
  double t = forward ? AfterStepGap(WalkMark_.time) : BeforeStepGap(WalkMark_.time);
  if (Position(t, forward ? SeekDirection::Forward : SeekDirection::Backward) < 1) return false;
  return ScanPastMark(forward, EntryPos_);
}

bool TOrxRead::ScanPastMark(bool forward, std::int64_t from) {
  if (!RingLive(ActiveRing_)) return false;
  const std::int64_t head = Header_.Head(ActiveRing_);
  const std::int64_t last = std::int64_t{Header_.Tail(ActiveRing_)} - Slot;
  IndexEntry entry;
  for (std::int64_t pos = from; pos >= head && pos <= last; pos += forward ? Slot : -Slot) {
    if (!ReadEntry(pos, entry)) return false;
    const RecordMark at{entry.Time, VolumeIndex_, ActiveRing_, pos, true};
    if (WithinSeenTimes(entry.Time, LowerTime_, UpperTime_) && Beyond(WalkMark_, at, forward)) {
      Entry_ = entry;
      EntryPos_ = static_cast<std::int32_t>(pos);
      return true;
    }
  }
  return false;
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
