#include "archive/OrxWrite.h"

#include <algorithm>
#include <cmath>

#include "archive/VolumeRules.h"

std::array<std::uint8_t, ExportBufferSize> ExportBuffer{};

TOrxWrite::~TOrxWrite() { Close(); }

void TOrxWrite::Close() {
  Stream_.Close();
  IsOpen_ = false;
}

bool TOrxWrite::WriteHeader() {
  std::uint8_t bytes[HeaderSize];
  EncodeHeader(Header_, bytes);
  return Stream_.WriteAt(0, bytes, HeaderSize);
}

bool TOrxWrite::Open(const std::string& path) {
  Close();
  IsOpen_ = true;
  // Every refusal below leaves the writer closed; nothing half-open remains.
  auto refuse = [this] {
    Close();
    return false;
  };

  if (!Stream_.Open(path, FileHandle::Mode::ReadWrite)) return refuse();
  FileSize_ = Stream_.Size();
  if (FileSize_ < MinVolumeSize) return refuse();

  const VolumeGeometry geometry = GeometryFor(FileSize_);
  // Every offset is a signed 32-bit word: a file whose rings and data start
  // cannot be written down that way cannot be a volume. Bigger files whose
  // layout still fits are used, with frames kept below 2^31 - 1 by Append.
  if (geometry.DataStart() > MaxAddressableSize) return refuse();
  RingSize_ = static_cast<std::int32_t>(geometry.ringSize);

  if (!ReadVolumeHeader(Stream_, Header_)) return refuse();

  if (!Header_.HasMagic()) {
    Header_ = FreshHeader(FileSize_);
    if (!WriteHeader()) return refuse();
  }

  // A header that matches the magic but whose pointers or data start are
  // out of place is not written through: it could send writes over the other
  // ring, the data area or past the file.
  if (!RingPointersUsable(Header_, 0, geometry) || !RingPointersUsable(Header_, 1, geometry))
    return refuse();
  const std::int64_t writeLimit = std::min<std::int64_t>(FileSize_, MaxAddressableSize);
  if (Header_.DataStart < geometry.DataStart() || Header_.DataStart > writeLimit)
    return refuse();

  const bool ring0Live = Header_.Ring0Head < Header_.Ring0Tail;
  const bool ring1Live = Header_.Ring1Head < Header_.Ring1Tail;
  if (ring0Live && ring1Live) {
    IndexEntry first0, first1;
    if (!ReadIndexEntry(Stream_, Header_.Ring0Head, first0) ||
        !ReadIndexEntry(Stream_, Header_.Ring1Head, first1))
      return refuse();
    Header_.CurrentRing = first0.Time < first1.Time ? 1 : 0;
  }
  if (Header_.CurrentRing != 0 && Header_.CurrentRing != 1) return refuse();

  if (!WriteHeader()) return refuse();

  const int current = Header_.CurrentRing;
  if (Header_.Head(current) == Header_.Tail(current)) {
    WritePos_ = Header_.DataStart;
  } else {
    if (!ReadIndexEntry(Stream_, Header_.Tail(current) - EntrySize, Entry_)) return refuse();
    const std::int64_t end = std::int64_t{Entry_.Offset} + Entry_.Length;
    // Appending after a damaged last entry would write over the index or
    // outside the file.
    if (Entry_.Offset < geometry.DataStart() || Entry_.Length < 0 || end > writeLimit)
      return refuse();
    WritePos_ = static_cast<std::int32_t>(end);
  }

  IsOpen_ = true;
  return true;
}

int TOrxWrite::Append(std::int32_t camera, std::int32_t kind, double time,
                      std::int32_t length) {
  if (!IsOpen_) return -1;
  // The frame comes from ExportBuffer: never read past it. A time that is
  // not a number would break the ring's time order for every reader.
  if (length < 0 || length > ExportBufferSize || std::isnan(time)) return -1;

  // Work on copies: a refusal or a failure leaves the writer's state as it
  // was, so WritePos never skips over a frame that was not written.
  IndexEntry entry;
  entry.Camera = camera;
  entry.Time = time;
  entry.Kind = kind;
  entry.Offset = WritePos_;
  entry.Length = length;
  const std::int64_t frameEnd = std::int64_t{WritePos_} + length;

  // The size is asked afresh: a file truncated behind our back must not be
  // grown again by a write past its end.
  const std::int64_t size = Stream_.Size();
  if (size < 0) return -1;
  if (frameEnd > std::min<std::int64_t>(size, MaxAddressableSize)) return 0;

  VolumeHeader header = Header_;
  const int current = header.CurrentRing;
  const int older = 1 - current;
  const std::int64_t olderStart = HeaderSize + std::int64_t{older} * RingSize_;
  while (header.Head(older) < header.Tail(older)) {
    IndexEntry first;
    if (!ReadIndexEntry(Stream_, header.Head(older), first)) return -1;
    if (first.Offset > frameEnd + TrimMargin) break;
    // In 64 bits: a Head in the last KiB below 2^31 would overflow.
    const std::int64_t head = std::int64_t{header.Head(older)} + TrimStep;
    if (head >= header.Tail(older)) {
      header.SetHead(older, static_cast<std::int32_t>(olderStart));
      header.SetTail(older, static_cast<std::int32_t>(olderStart));
      break;
    }
    header.SetHead(older, static_cast<std::int32_t>(head));
  }

  // The last slot of a ring is never written.
  const std::int64_t currentStart = HeaderSize + std::int64_t{current} * RingSize_;
  const std::int64_t slot = header.Tail(current);
  if (slot + EntrySize >= currentStart + RingSize_) return 0;
  if (slot + EntrySize > size) return -1;  // the index itself was cut off

  std::uint8_t bytes[EntrySize];
  EncodeEntry(entry, bytes);
  if (!Stream_.WriteAt(slot, bytes, EntrySize)) return -1;
  header.SetTail(current, static_cast<std::int32_t>(slot + EntrySize));
  if (length > 0 && !Stream_.WriteAt(entry.Offset, ExportBuffer.data(), length)) return -1;

  // The header goes last, so a reader sees the entry only once its frame is
  // on disk.
  const VolumeHeader before = Header_;
  Header_ = header;
  if (!WriteHeader()) {
    Header_ = before;
    return -1;
  }
  Entry_ = entry;
  WritePos_ = static_cast<std::int32_t>(frameEnd);
  return 1;
}
