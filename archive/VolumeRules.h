#pragma once
// The format rules that keep every read inside the file, in one place: where
// a ring pointer may point, which frame may be read, and reading the header
// and an index entry. The reader, the writer and orxtool all go through
// these, so a volume is judged the same way everywhere.
// docs/volume-format.md, "Validity rules", says the same in prose.

#include <cstdint>

#include "archive/FileHandle.h"
#include "archive/VolumeFormat.h"

// Where a Head or Tail value lies: on one of its ring's slots (the ring's
// end counts, as a Tail of a full ring), outside the ring, or inside it but
// off the 32-byte grid.
enum class PointerPlace { OnSlot, OutsideRing, OffSlot };
PointerPlace PlaceOfPointer(std::int64_t value, int ring, const VolumeGeometry& geometry);

// Both pointers on slots of the ring's own region, Head <= Tail, and the
// region inside the file. Anything else is damage: the ring counts as empty
// and nothing is read or written through its pointers.
bool RingPointersUsable(const VolumeHeader& header, int ring, const VolumeGeometry& geometry);
// Live entries of a ring whose pointers are usable; 0 otherwise.
std::int64_t LiveEntries(const VolumeHeader& header, int ring, const VolumeGeometry& geometry);

// A frame that may be read: MinFrameLength <= length <= MaxFrameLength,
// offset >= 0 and offset + length <= fileSize, in 64 bits.
bool FrameWithinFile(std::int64_t offset, std::int64_t length, std::int64_t fileSize);

// Times a reader can find: after day 0 and before FarFuture, the start
// values of its searches for the newest and the oldest ring.
bool TimeWithinSeekRange(double time);

// A ring whose first or last time is not a finite number is damage: it is
// left out whole, so it cannot stretch the range of times seen to infinity.
bool RingTimesUsable(double first, double last);
// An entry is handed out only when its time lies within the earliest ring
// start and the latest ring end seen (lower..upper, both included): that is
// how a stale or damaged slot between Head and Tail shows itself. A NaN
// never does.
bool WithinSeenTimes(double time, double lower, double upper);

// The two records, read whole at their offsets. False on a negative offset
// or a short read (a slot past the end of the file).
bool ReadVolumeHeader(const FileHandle& file, VolumeHeader& header);
bool ReadIndexEntry(const FileHandle& file, std::int64_t offset, IndexEntry& entry);
