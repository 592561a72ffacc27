#include "archive/ArchiveSpans.h"

#include <limits>

#include "archive/VolumeFormat.h"

bool KeyBefore(const RecordKey& a, const RecordKey& b) {
  if (a.time != b.time) return a.time < b.time;
  if (a.volume != b.volume) return a.volume < b.volume;
  if (a.ring != b.ring) return a.ring < b.ring;
  return a.slot < b.slot;
}

RecordKey KeyBelowTime(double time) {
  return RecordKey{time, -1, 0, 0};
}

RecordKey KeyAboveTime(double time) {
  return RecordKey{time, std::numeric_limits<std::int64_t>::max(), 0, 0};
}

RecordKey FirstKeyOf(const RingSpan& span, std::int64_t volume, int ring) {
  return RecordKey{span.first, volume, ring, span.head};
}

RecordKey LastKeyOf(const RingSpan& span, std::int64_t volume, int ring) {
  return RecordKey{span.last, volume, ring, span.tail - EntrySize};
}

bool RingReachesPast(const RingSpan& span, std::int64_t volume, int ring, const RecordKey& from,
                     bool forward) {
  if (!span.live) return false;
  return forward ? KeyBefore(from, LastKeyOf(span, volume, ring))
                 : KeyBefore(FirstKeyOf(span, volume, ring), from);
}

bool RingStartsBefore(const RingSpan& span, std::int64_t volume, int ring,
                      const RecordKey& limit, bool forward) {
  if (!span.live) return false;
  return forward ? KeyBefore(FirstKeyOf(span, volume, ring), limit)
                 : KeyBefore(limit, LastKeyOf(span, volume, ring));
}

void ArchiveSpans::Reset(const VolumeList& list) {
  paths_ = list;
  spans_.assign(list.size(), VolumeSpans{});
  ++generation_;
}

void ArchiveSpans::Set(std::size_t index, const VolumeSpans& spans) {
  if (index >= spans_.size() || spans_[index] == spans) return;
  spans_[index] = spans;
  ++generation_;
}
