// TOrxRead's steps: Next and Previous, and the walk that keeps every step
// moving on past a damaged ring.

#include "archive/OrxRead.h"

#include <algorithm>

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

bool TOrxRead::Follow(const TOrxRead& leader) {
  if (!leader.IsOpen_ || &leader.Volumes_ != &Volumes_) return false;
  if (!IsOpen_) {
    IsOpen_ = true;
    Rescan();
  } else {
    EnsureSpans();
  }
  LowerTime_ = leader.LowerTime_;
  UpperTime_ = leader.UpperTime_;
  CurrentTime_ = leader.CurrentTime_;
  Current_ = leader.Current_;
  Positioned_ = leader.Positioned_;
  WalkDirection_ = leader.WalkDirection_;
  WalkMark_ = leader.WalkMark_;
  return true;
}

bool TOrxRead::Place(RecordKey& key) const {
  if (!Positioned_) return false;
  key = Current_;
  return true;
}

RecordKey TOrxRead::Here() const {
  return RecordKey{Entry_.Time, VolumeIndex_, ActiveRing_, EntryPos_};
}

RecordKey TOrxRead::CurrentMark(bool forward) const {
  if (Positioned_) return Current_;
  return forward ? KeyBelowTime(CurrentTime_) : KeyAboveTime(CurrentTime_);
}

bool TOrxRead::Current(std::uint32_t& camera, std::uint32_t& kinds, double& time,
                       FrameStream& stream) {
  if (!IsOpen_ || !Positioned_ || !OpenVolume(Current_.volume)) return false;
  IndexEntry entry;
  // The slot must still hold the record: a recorder may have reused it.
  if (!ReadEntry(Current_.slot, entry) || !(entry.Time == Current_.time)) return false;
  if (!WithinSeenTimes(entry.Time)) return false;
  Entry_ = entry;
  ActiveRing_ = Current_.ring;
  EntryPos_ = static_cast<std::int32_t>(Current_.slot);
  return HandOut(camera, kinds, time, stream);
}

bool TOrxRead::HandOut(std::uint32_t& camera, std::uint32_t& kinds, double& time,
                       FrameStream& stream) {
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

bool TOrxRead::Step(bool forward, int count, std::uint32_t& camera, std::uint32_t& kinds,
                    double& time, FrameStream& stream) {
  if (!IsOpen_) return false;
  const int direction = forward ? 1 : -1;
  if (WalkDirection_ != direction) {
    WalkMark_ = CurrentMark(forward);
    WalkDirection_ = direction;
  }
  const bool wasPositioned = Positioned_;
  const RecordKey from = Current_;
  if (!Move(forward, count)) {
    // Nothing there: the reader stays on its record, whatever the search
    // opened on the way.
    StandOnCurrent();
    return false;
  }
  const RecordKey here = Here();
  if (!WithinSeenTimes(Entry_.Time)) {
    // Not handed out, but the walk goes on past it.
    Current_ = here;
    Positioned_ = true;
    return false;
  }

  // Previous with a count of 0 hands the current record out again; any
  // other step goes strictly on, or fails.
  const bool stays = !forward && count == 0 && wasPositioned && here.volume == from.volume &&
                     here.ring == from.ring && here.slot == from.slot;
  if (!stays && !KeyBeyond(here, WalkMark_, forward) && !StepPastMark(forward)) return false;
  MakeEntryCurrent();
  // The mark only ever moves on: a record handed out again by Previous(0)
  // may lie behind it (a failed step can leave the reader clamped there).
  if (!stays) WalkMark_ = Current_;
  return HandOut(camera, kinds, time, stream);
}

void TOrxRead::StandOnCurrent() {
  if (!Positioned_ || !OpenVolume(Current_.volume)) return;
  ActiveRing_ = Current_.ring;
  EntryPos_ = static_cast<std::int32_t>(Current_.slot);
  ReadEntry(EntryPos_, Entry_);
}

bool TOrxRead::Move(bool forward, int count) {
  if (count < 0) count = 0;
  // Not on a record yet: from the time of Open, as a position by time.
  if (!Positioned_) return FindPast(CurrentMark(forward), forward);

  // The current record's volume read afresh: a recorder may have added to
  // it, or dropped the record from its ring's Head.
  const bool inspected = Stream_.IsOpen() && VolumeIndex_ == Current_.volume
                             ? Inspect()
                             : OpenVolume(Current_.volume);
  const RingSpan span =
      inspected ? Spans_.At(std::size_t(Current_.volume)).rings[Current_.ring] : RingSpan{};
  const std::int64_t pos = Current_.slot;
  const bool onLiveSlot =
      span.live && pos >= span.head && pos < span.tail && (pos - span.head) % Slot == 0;

  if (count == 0) {
    // By time: the speed's skip.
    if (forward) return FindPast(KeyBelowTime(AfterStepGap(Current_.time)), true);
    if (onLiveSlot && pos > span.head + Slot) {
      ActiveRing_ = Current_.ring;
      EntryPos_ = static_cast<std::int32_t>(pos);
      return ReadEntry(EntryPos_, Entry_);
    }
    return FindPast(KeyAboveTime(BeforeStepGap(Current_.time)), false);
  }
  // The record is gone: on from its place, wherever the records now lie.
  if (!onLiveSlot) return FindPast(Current_, forward);

  ActiveRing_ = Current_.ring;
  const std::int64_t left = forward ? (span.tail - pos) / Slot - 1 : (pos - span.head) / Slot;
  if (left == 0) return FindPast(Current_, forward);
  const std::int64_t steps = std::min<std::int64_t>(count, left);
  EntryPos_ = static_cast<std::int32_t>(pos + (forward ? Slot : -Slot) * steps);
  if (!ReadEntry(EntryPos_, Entry_)) return false;
  // A count above 1 is a skip within the ring. A count of 1 must reach the
  // very next record: the ring's neighbour is it unless another ring holds
  // a record in between (rings and volumes that meet in time, equal times
  // across a boundary, overlapping recordings).
  if (count > 1) return true;
  const RecordKey next = Here();
  if (next.time == Current_.time || !KeyBeyond(next, Current_, forward)) return true;
  if (!OthersMayLieBetween(Current_, next, forward)) return true;
  return FindPast(Current_, forward);
}

// The step came back to where this walk has been, or behind it: only a ring
// whose times are out of order does that. Go on slot by slot to the first
// record past the mark; at the ring's end, search past the mark over the
// archive. The ring found there reaches past the mark at its far end: the
// search always ends, and never on a record handed out already.
bool TOrxRead::StepPastMark(bool forward) {
  if (ScanPastMark(forward, std::int64_t{EntryPos_} + (forward ? Slot : -Slot))) return true;
  if (!FindPast(WalkMark_, forward)) return false;
  return ScanPastMark(forward, EntryPos_);
}

bool TOrxRead::ScanPastMark(bool forward, std::int64_t from) {
  const RingSpan& span = Spans_.At(std::size_t(VolumeIndex_)).rings[ActiveRing_];
  if (!Stream_.IsOpen() || !span.live) return false;
  IndexEntry entry;
  for (std::int64_t pos = from; pos >= span.head && pos < span.tail;
       pos += forward ? Slot : -Slot) {
    if (!ReadEntry(pos, entry)) return false;
    const RecordKey at{entry.Time, VolumeIndex_, ActiveRing_, pos};
    if (WithinSeenTimes(entry.Time) && KeyBeyond(at, WalkMark_, forward)) {
      Entry_ = entry;
      EntryPos_ = static_cast<std::int32_t>(pos);
      return true;
    }
  }
  return false;
}

// ---- GetRange -------------------------------------------------------------
