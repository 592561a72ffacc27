#include "archive/OrxRead.h"

#include <cmath>
#include <limits>

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

// ---- the open volume and the table --------------------------------------

bool TOrxRead::Inspect(bool headerFresh) {
  if (!headerFresh && !ReadHeader()) return false;
  FileSize_ = Stream_.Size();
  if (FileSize_ < 0) return false;
  // Judged against the present file size, so no read goes outside the ring
  // or the file.
  const VolumeGeometry geometry = GeometryFor(FileSize_);
  VolumeSpans spans;
  spans.volume = true;
  for (int ring = 0; ring < 2; ++ring) {
    if (LiveEntries(Header_, ring, geometry) == 0) continue;
    RingSpan& span = spans.rings[ring];
    span.head = Header_.Head(ring);
    span.tail = Header_.Tail(ring);
    IndexEntry entry;
    if (!ReadEntry(span.head, entry)) continue;
    span.first = entry.Time;
    if (!ReadEntry(span.tail - Slot, entry)) continue;
    span.last = entry.Time;
    if (!RingTimesUsable(span.first, span.last)) continue;
    span.live = true;
    if (span.first < LowerTime_) LowerTime_ = span.first;
    if (span.last > UpperTime_) UpperTime_ = span.last;
  }
  Spans_.Set(static_cast<std::size_t>(VolumeIndex_), spans);
  return true;
}

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

bool TOrxRead::OpenVolume(std::int64_t index) {
  if (index < 0 || static_cast<std::size_t>(index) >= Volumes_.size()) return false;
  if (Stream_.IsOpen() && VolumeIndex_ == index) return true;
  if (OpenPath(static_cast<std::size_t>(index)) != 1) {
    Spans_.Set(static_cast<std::size_t>(index), VolumeSpans{});
    return false;
  }
  return Inspect(/*headerFresh=*/true);
}

void TOrxRead::Rescan() {
  CloseVolume();
  Spans_.Reset(Volumes_);
  // The range becomes exactly the archive's: records a recorder has dropped
  // since no longer widen it.
  double lower = LowerTime_, upper = UpperTime_;
  LowerTime_ = FarFuture;
  UpperTime_ = -FarFuture;
  bool anyRing = false;
  for (std::size_t path = 0; path < Volumes_.size(); ++path) {
    if (OpenPath(path) != 1 || !Inspect(/*headerFresh=*/true)) continue;
    const VolumeSpans& spans = Spans_.At(path);
    anyRing = anyRing || spans.rings[0].live || spans.rings[1].live;
  }
  CloseVolume();
  if (!anyRing) {
    LowerTime_ = lower;
    UpperTime_ = upper;
  }
}

void TOrxRead::EnsureSpans() {
  if (!Spans_.Describes(Volumes_)) Rescan();
}

// ---- Open -----------------------------------------------------------------

bool TOrxRead::Open() {
  CloseVolume();
  Positioned_ = false;
  WalkDirection_ = 0;
  // An empty archive keeps the range of nothing seen: from now back to 0.
  const double now = PresentTime();
  UpperTime_ = 0.0;
  LowerTime_ = now;
  CurrentTime_ = now;
  IsOpen_ = !Volumes_.empty();
  if (!IsOpen_) return false;
  Rescan();
  bool anyVolume = false;
  for (std::size_t path = 0; path < Spans_.Size(); ++path) anyVolume |= Spans_.At(path).volume;
  // A list naming no volume leaves the reader unusable, not half-open.
  if (!anyVolume) {
    Close();
    return false;
  }
  // The volume holding the present, or the nearest before it, stays open;
  // Open still chooses no record.
  Landing landing;
  if (SearchPast(KeyAboveTime(now), false, landing) ||
      SearchPast(KeyBelowTime(now), true, landing))
    OpenVolume(landing.key.volume);
  return true;
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
  EnsureSpans();
  const bool forward = direction == SeekDirection::Forward;
  int result = 1;
  if (!FindPast(forward ? KeyBelowTime(time) : KeyAboveTime(time), forward)) {
    // Nothing in the direction: the archive's end on that side.
    const double far = std::numeric_limits<double>::infinity();
    if (!FindPast(forward ? KeyAboveTime(far) : KeyBelowTime(-far), !forward)) {
      StandOnCurrent();
      return 0;
    }
    result = 0;
  }
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
