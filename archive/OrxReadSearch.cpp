// TOrxRead's searches in the walk order: the record next to a place, in one
// ring by binary search, and over the whole archive by asking only the
// volumes whose rings reach past that place.

#include <algorithm>
#include <limits>

#include "archive/OrxRead.h"

namespace {

constexpr std::int64_t Slot = EntrySize;
constexpr double Infinity = std::numeric_limits<double>::infinity();

}  // namespace

bool TOrxRead::SlotPast(int ring, const RecordKey& from, bool forward, Landing& landing) {
  const RingSpan& span = Spans_.At(static_cast<std::size_t>(VolumeIndex_)).rings[ring];
  if (!span.live) return false;
  const auto keyAt = [&](std::int64_t slot, const IndexEntry& entry) {
    return RecordKey{entry.Time, VolumeIndex_, ring, slot};
  };
  // The first slot whose record lies after from (forward), or the first
  // that does not lie before it (backward: the answer is the slot before).
  std::int64_t lo = span.head;
  std::int64_t hi = span.tail;
  IndexEntry probe;
  while (lo < hi) {
    const std::int64_t mid = lo + Slot * ((hi - lo) / Slot / 2);
    if (!ReadEntry(mid, probe)) return false;
    const bool past = forward ? KeyBefore(from, keyAt(mid, probe))
                              : !KeyBefore(keyAt(mid, probe), from);
    if (past)
      hi = mid;
    else
      lo = mid + Slot;
  }
  const std::int64_t slot = forward ? lo : lo - Slot;
  if (slot < span.head || slot >= span.tail) return false;
  if (!ReadEntry(slot, landing.entry)) return false;
  landing.key = keyAt(slot, landing.entry);
  return true;
}

bool TOrxRead::SearchPast(const RecordKey& from, bool forward, Landing& best) {
  // The volumes whose rings reach past from, nearest first by the earliest
  // (latest) time a record of theirs past from can have.
  struct Candidate {
    double bound;
    std::int64_t volume;
  };
  std::vector<Candidate> candidates;
  for (std::size_t v = 0; v < Spans_.Size(); ++v) {
    const VolumeSpans& spans = Spans_.At(v);
    bool reaches = false;
    double bound = forward ? Infinity : -Infinity;
    for (int ring = 0; ring < 2; ++ring) {
      const RingSpan& span = spans.rings[ring];
      if (!RingReachesPast(span, std::int64_t(v), ring, from, forward)) continue;
      reaches = true;
      bound = forward ? std::min(bound, std::max(span.first, from.time))
                      : std::max(bound, std::min(span.last, from.time));
    }
    if (reaches) candidates.push_back({bound, std::int64_t(v)});
  }
  std::sort(candidates.begin(), candidates.end(), [&](const Candidate& a, const Candidate& b) {
    if (a.bound != b.bound) return forward ? a.bound < b.bound : a.bound > b.bound;
    return a.volume < b.volume;
  });
  bool found = false;
  for (const Candidate& c : candidates) {
    // Sorted: a volume whose nearest possible record lies beyond the best
    // found cannot do better.
    if (found && (forward ? c.bound > best.key.time : c.bound < best.key.time)) break;
    if (!OpenVolume(c.volume)) continue;
    for (int ring = 0; ring < 2; ++ring) {
      const RingSpan& span = Spans_.At(std::size_t(c.volume)).rings[ring];
      if (!RingReachesPast(span, c.volume, ring, from, forward)) continue;
      Landing landing;
      if (!SlotPast(ring, from, forward, landing)) continue;
      // A damaged ring may answer with a record that is not past from; the
      // walk's own check turns it away, and its far end is past from.
      if (!found || KeyBeyond(best.key, landing.key, forward)) {
        best = landing;
        found = true;
      }
    }
  }
  return found;
}

bool TOrxRead::FindPast(const RecordKey& from, bool forward) {
  Landing best;
  bool found = SearchPast(from, forward, best);
  if (!found) {
    // What the table says of the other volumes may be old: a recorder may
    // have written more since. Look again before saying there is nothing.
    Rescan();
    found = SearchPast(from, forward, best);
  }
  if (!found || !OpenVolume(best.key.volume)) return false;
  ActiveRing_ = best.key.ring;
  EntryPos_ = static_cast<std::int32_t>(best.key.slot);
  Entry_ = best.entry;
  return true;
}

void TOrxRead::RefreshNeighbours() {
  const RingSpan& own = Spans_.At(std::size_t(VolumeIndex_)).rings[ActiveRing_];
  if (Neighbours_.generation == Spans_.Generation() && Neighbours_.volume == VolumeIndex_ &&
      Neighbours_.ring == ActiveRing_ && Neighbours_.span == own)
    return;
  Neighbours_.generation = Spans_.Generation();
  Neighbours_.volume = VolumeIndex_;
  Neighbours_.ring = ActiveRing_;
  Neighbours_.span = own;
  Neighbours_.rings.clear();
  if (!own.live) return;
  const RecordKey ownFirst = FirstKeyOf(own, VolumeIndex_, ActiveRing_);
  const RecordKey ownLast = LastKeyOf(own, VolumeIndex_, ActiveRing_);
  for (std::size_t v = 0; v < Spans_.Size(); ++v) {
    for (int ring = 0; ring < 2; ++ring) {
      if (std::int64_t(v) == VolumeIndex_ && ring == ActiveRing_) continue;
      const RingSpan& span = Spans_.At(v).rings[ring];
      if (!span.live) continue;
      // Meets: neither lies wholly before the other.
      if (KeyBefore(LastKeyOf(span, std::int64_t(v), ring), ownFirst) ||
          KeyBefore(ownLast, FirstKeyOf(span, std::int64_t(v), ring)))
        continue;
      Neighbours_.rings.emplace_back(std::int64_t(v), ring);
    }
  }
}

bool TOrxRead::OthersMayLieBetween(const RecordKey& from, const RecordKey& to, bool forward) {
  RefreshNeighbours();
  for (const auto& [volume, ring] : Neighbours_.rings) {
    const RingSpan& span = Spans_.At(std::size_t(volume)).rings[ring];
    if (RingReachesPast(span, volume, ring, from, forward) &&
        RingStartsBefore(span, volume, ring, to, forward))
      return true;
  }
  return false;
}
