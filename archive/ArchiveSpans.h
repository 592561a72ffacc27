#pragma once
// The walk order, and what the reader last saw of every listed volume.
//
// Every record has one place among all others: its time, then its volume's
// place in the list, then its ring, then its slot. Positioning lands on the
// first (last) record of that order at or after (before) a time, and a step
// goes to the record next to the current one in that order, so a walk over
// rings and volumes that do not overlap reaches each record exactly once,
// however close their times lie across a boundary.
//
// ArchiveSpans keeps, for each listed volume, the first and last record of
// each ring: enough to tell which rings may hold a record between two places
// without opening every volume. The open volume's entry is renewed at every
// step; another's when a search opens it or the whole list is looked at again.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "archive/VolumeList.h"

struct RecordKey {
  double time = 0.0;
  std::int64_t volume = 0;  // place in the VolumeList
  std::int32_t ring = 0;
  std::int64_t slot = 0;  // the entry's offset in the file
};

// a comes before b in the walk order.
bool KeyBefore(const RecordKey& a, const RecordKey& b);
// The same record: the same volume, ring and slot.
inline bool SameRecord(const RecordKey& a, const RecordKey& b) {
  return a.volume == b.volume && a.ring == b.ring && a.slot == b.slot;
}
// a lies strictly past b in the direction.
inline bool KeyBeyond(const RecordKey& a, const RecordKey& b, bool forward) {
  return forward ? KeyBefore(b, a) : KeyBefore(a, b);
}
// Places before and after every record of a time: searching forward from the
// first finds the first record at or after the time, backward from the second
// the last record at or before it.
RecordKey KeyBelowTime(double time);
RecordKey KeyAboveTime(double time);

struct RingSpan {
  bool live = false;  // holds entries whose boundary times are usable
  double first = 0.0;
  double last = 0.0;
  std::int64_t head = 0;  // offset of the first live entry
  std::int64_t tail = 0;  // one past the last live entry
  bool operator==(const RingSpan&) const = default;
};

struct VolumeSpans {
  bool volume = false;  // the file could be opened and is a volume
  RingSpan rings[2];
  bool operator==(const VolumeSpans&) const = default;
};

// The first and the last record of a ring, as places in the walk order.
RecordKey FirstKeyOf(const RingSpan& span, std::int64_t volume, int ring);
RecordKey LastKeyOf(const RingSpan& span, std::int64_t volume, int ring);
// A ring in time order holds a record strictly past from in the direction
// only if its far end lies past it; a damaged ring still has that record at
// its far end, so a search there always ends.
bool RingReachesPast(const RingSpan& span, std::int64_t volume, int ring, const RecordKey& from,
                     bool forward);
// ... and one strictly before limit only if its near end lies before it.
bool RingStartsBefore(const RingSpan& span, std::int64_t volume, int ring,
                      const RecordKey& limit, bool forward);

class ArchiveSpans {
 public:
  // True when the table was made for exactly these paths in this order.
  bool Describes(const VolumeList& list) const { return paths_ == list; }
  // A table for list with nothing known yet: every entry "not a volume".
  void Reset(const VolumeList& list);
  std::size_t Size() const { return spans_.size(); }
  const VolumeSpans& At(std::size_t index) const { return spans_[index]; }
  // Renews one entry; the generation moves on when it changed.
  void Set(std::size_t index, const VolumeSpans& spans);
  // Changes whenever an entry changes, so what was derived from the table
  // can tell it is stale.
  std::uint64_t Generation() const { return generation_; }

 private:
  VolumeList paths_;
  std::vector<VolumeSpans> spans_;
  std::uint64_t generation_ = 0;
};
