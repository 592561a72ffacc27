#pragma once
// TOrxRead: reads the volumes of a VolumeList as one archive ordered by time.
// It keeps at most one volume open, holds no index in memory and re-reads the
// open volume's header before every positioning step, so a volume still being
// recorded can be played while it grows. Failures are results, never
// exceptions.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "archive/ArchiveSpans.h"
#include "archive/FileHandle.h"
#include "archive/VolumeFormat.h"
#include "archive/VolumeList.h"
#include "archive/VolumeRules.h"
#include "common/FrameStream.h"

enum class SeekDirection { Forward, Backward };

class TOrxRead {
 public:
  static constexpr double NoTime = -1.0;
  static constexpr double FarFuture = ::FarFuture;

  // REQUIRES: volumes outlives the reader. The reader never changes it.
  explicit TOrxRead(const VolumeList& volumes);
  virtual ~TOrxRead();
  TOrxRead(const TOrxRead&) = delete;
  TOrxRead& operator=(const TOrxRead&) = delete;

  // True when the list names at least one volume. Chooses no current record.
  bool Open();
  // Closes the open volume; FileName cleared, IsOpen false. Times stay.
  void Close();

  // first = LowerTime, last = UpperTime and the open volume's path when open;
  // otherwise 0, 0 and an empty path.
  std::string GetRange(double& first, double& last);

  // Positions on the first record at or after time (forward) or the last
  // record at or before it (backward), in the walk order (ArchiveSpans.h).
  // -1 not open; 1 positioned (time = the record's time); 0 clamped to the
  // archive's last (first) record because none lies in the direction
  // (time = its time), or failed (time unchanged).
  int SetPosition(double& time, SeekDirection direction);

  // Steps forward / backward. count 1: to the next (previous) record in the
  // walk order, across rings and volumes. count > 1: that many records
  // within the current ring, stopping at its last (first) entry; from there
  // on to the next ring as count 1 does. count 0: Next moves by time, to the
  // first record at least StepGap later; Previous stays and hands the record
  // out again, unless it is its ring's first or second entry, whence it
  // moves to the last record at least StepGap earlier.
  // camera and kinds go in as masks and come back as the reached record's
  // Camera and Kind. The frame bytes are appended to stream when the record
  // passes both masks; otherwise stream is emptied and the result is true.
  // On false the three words keep their values, although the position may
  // have moved (a frame that cannot be read). A reader not yet positioned
  // starts by time: Next with the first record at or after the time of Open.
  bool Next(int count, std::uint32_t& camera, std::uint32_t& kinds, double& time,
            FrameStream& stream);
  bool Previous(int count, std::uint32_t& camera, std::uint32_t& kinds,
                double& time, FrameStream& stream);

  // Hands out the current record again, with the masks as Next does; false
  // when no record was chosen yet. An export takes its first frame so: the
  // record SetPosition landed on.
  bool Current(std::uint32_t& camera, std::uint32_t& kinds, double& time, FrameStream& stream);

  // Takes leader's place in the walk: the next step from this reader reads
  // what the same step from leader would, while both see the same files.
  // REQUIRES: both read the same VolumeList. Opens this reader when leader
  // is open; false when leader is not (this one is then left as it was).
  bool Follow(const TOrxRead& leader);
  // The current record's place; a reader not positioned on a record has
  // none (false).
  bool Place(RecordKey& key) const;

  // Observers, for tools and tests.
  const VolumeList& Volumes() const { return Volumes_; }
  bool IsOpen() const { return IsOpen_; }
  const std::string& FileName() const { return FileName_; }
  std::int32_t EntryPos() const { return EntryPos_; }
  std::int32_t ActiveRing() const { return ActiveRing_; }
  double CurrentTime() const { return CurrentTime_; }
  double LowerTime() const { return LowerTime_; }
  double UpperTime() const { return UpperTime_; }
  const IndexEntry& Entry() const { return Entry_; }
  // Positioned reads issued so far (header, entries, frames).
  std::uint64_t ReadCount() const { return ReadCount_; }

 private:
  bool ReadHeader();
  bool ReadEntry(std::int64_t offset, IndexEntry& entry);
  bool ReadFrame(std::int64_t offset, FrameStream& stream, std::int64_t length);
  bool WithinSeenTimes(double time) const {
    return ::WithinSeenTimes(time, LowerTime_, UpperTime_);
  }

  // ---- volumes and the table of their rings (OrxRead.cpp) ----
  // 1: opened and a volume (header read); 0: opened, not a volume (closed
  // again); -1: could not be opened.
  int OpenPath(std::size_t index);
  void CloseVolume();
  // Re-reads the open volume's header and its rings' ends; renews its entry
  // in the table and widens the seen range. headerFresh: Header_ was read a
  // moment ago. False when the header cannot be read.
  bool Inspect(bool headerFresh = false);
  // Every listed volume looked at afresh; the seen range becomes the
  // archive's. Leaves no volume open.
  void Rescan();
  // The table made for the present list (looked at afresh when it changed).
  void EnsureSpans();
  // The volume at index open and inspected (not reopened when it is open).
  bool OpenVolume(std::int64_t index);

  // ---- searching in walk order (OrxReadSearch.cpp) ----
  struct Landing {
    RecordKey key;
    IndexEntry entry;
  };
  // The record of the open volume's ring next to from in the direction, by
  // binary search (the ring's entries are in time order).
  bool SlotPast(int ring, const RecordKey& from, bool forward, Landing& landing);
  // The record next to from in the direction over the whole archive; the
  // reader lands on it (its volume open, EntryPos_, ActiveRing_, Entry_).
  // Only volumes whose rings reach past from are opened; when none holds
  // such a record the list is looked at afresh once before giving up.
  bool FindPast(const RecordKey& from, bool forward);
  bool SearchPast(const RecordKey& from, bool forward, Landing& best);
  // Another ring may hold a record strictly between from and to.
  bool OthersMayLieBetween(const RecordKey& from, const RecordKey& to, bool forward);
  // The rings whose spans meet the current ring's, kept while neither
  // changes: a step inside a ring asks only them.
  void RefreshNeighbours();

  // ---- steps (OrxReadStep.cpp) ----
  RecordKey Here() const;
  // The current record's place, or before (after) its time for a reader
  // not positioned on a record yet.
  RecordKey CurrentMark(bool forward) const;
  void MakeEntryCurrent();
  // SetPosition without ending the walk.
  int Position(double& time, SeekDirection direction);
  bool Step(bool forward, int count, std::uint32_t& camera, std::uint32_t& kinds,
            double& time, FrameStream& stream);
  // Moves to the record count steps on (0: by time); false when there is none.
  bool Move(bool forward, int count);
  // The current record's volume open and the reader on its entry again.
  void StandOnCurrent();
  // The reached record's words and, when the masks want it, its frame.
  bool HandOut(std::uint32_t& camera, std::uint32_t& kinds, double& time, FrameStream& stream);
  bool StepPastMark(bool forward);
  bool ScanPastMark(bool forward, std::int64_t from);

  const VolumeList& Volumes_;

  double LowerTime_ = 0.0;
  double UpperTime_ = 0.0;
  bool IsOpen_ = false;
  VolumeHeader Header_{};
  FileHandle Stream_;
  IndexEntry Entry_{};
  std::int32_t EntryPos_ = 0;
  std::int32_t ActiveRing_ = 0;
  double CurrentTime_ = 0.0;
  std::string FileName_;
  std::uint64_t ReadCount_ = 0;
  std::int64_t FileSize_ = 0;  // asked afresh at every Inspect
  std::int64_t VolumeIndex_ = 0;  // the open volume's place in the VolumeList

  // The current record; Positioned_ is false until a record was chosen
  // (Open chooses none).
  RecordKey Current_{};
  bool Positioned_ = false;
  // Steps in one direction since the last position change form a walk; each
  // must go strictly past the walk's last record (WalkMark_), so a damaged
  // ring can never make a step return to a record it handed out.
  int WalkDirection_ = 0;  // 1 forward, -1 backward, 0 no walk
  RecordKey WalkMark_{};

  ArchiveSpans Spans_;
  // The rings (volume, ring) whose spans meet the current ring's, as of the
  // table generation and the current ring's span they were found for.
  struct Neighbours {
    std::uint64_t generation = 0;
    std::int64_t volume = -1;
    std::int32_t ring = 0;
    RingSpan span;
    std::vector<std::pair<std::int64_t, int>> rings;
  } Neighbours_;
};
