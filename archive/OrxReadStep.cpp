// TOrxRead's steps: Next and Previous, and the walk that keeps every step
// moving on past a damaged ring.

#include "archive/OrxRead.h"

#include "archive/VolumeRules.h"
#include "common/CameraMask.h"
#include "common/DateTime.h"
#include "common/RecordKind.h"

namespace {

constexpr std::int64_t Slot = EntrySize;

}  // namespace

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
  if (!WithinSeenTimes(Entry_.Time)) return false;

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
    if (WithinSeenTimes(entry.Time) && Beyond(WalkMark_, at, forward)) {
      Entry_ = entry;
      EntryPos_ = static_cast<std::int32_t>(pos);
      return true;
    }
  }
  return false;
}

// ---- GetRange -------------------------------------------------------------
