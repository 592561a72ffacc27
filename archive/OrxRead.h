#pragma once
// TOrxRead: reads the volumes of a VolumeList as one archive ordered by time.
// It keeps at most one volume open, holds no index in memory and re-reads the
// open volume's header before every positioning step, so a volume still being
// recorded can be played while it grows. Failures are results, never
// exceptions.

#include <cstdint>
#include <string>

#include "archive/FileHandle.h"
#include "archive/VolumeFormat.h"
#include "archive/VolumeList.h"
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

  // Positions on the record nearest time in the direction.
  // -1 not open; 1 positioned (time = the record's time); 0 clamped to an end
  // of the archive or failed.
  int SetPosition(double& time, SeekDirection direction);

  // Steps count records (0 = by time) forward / backward. camera and kinds go
  // in as masks and come back as the reached record's Camera and Kind. The
  // frame bytes are appended to stream when the record passes both masks;
  // otherwise stream is emptied and the result is true. On false the three
  // words keep their values, although the position may have moved (a frame
  // that cannot be read). A reader not yet positioned starts by time.
  bool Next(int count, std::uint32_t& camera, std::uint32_t& kinds, double& time,
            FrameStream& stream);
  bool Previous(int count, std::uint32_t& camera, std::uint32_t& kinds,
                double& time, FrameStream& stream);

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
  struct RingTimes {
    double first[2] = {NoTime, NoTime};
    double last[2] = {NoTime, NoTime};
  };

  bool ReadHeader();
  bool ReadEntry(std::int64_t offset, IndexEntry& entry);
  bool ReadFrame(std::int64_t offset, FrameStream& stream, std::int64_t length);
  bool RingLive(int ring) const;
  // Within [LowerTime_, UpperTime_]. Written so that a NaN, which compares
  // false with both bounds, is outside.
  bool WithinSeenTimes(double time) const { return time >= LowerTime_ && time <= UpperTime_; }
  // headerFresh: Header was read from this volume a moment ago.
  bool Locate(double time, RingTimes& times, bool headerFresh = false);
  int Seek(double& time, SeekDirection direction);
  int OpenPath(std::size_t index);  // index into the VolumeList
  void CloseVolume();
  // A record's place in the archive, for telling whether a step moved on.
  struct RecordMark {
    double time = 0.0;
    std::int64_t volume = 0;  // index in the VolumeList
    std::int32_t ring = 0;
    std::int64_t slot = 0;  // EntryPos
    bool hasSlot = false;   // false: only the time is known (not yet positioned)
  };
  static bool Beyond(const RecordMark& mark, const RecordMark& at, bool forward);
  RecordMark Here() const;
  RecordMark CurrentMark() const;
  void MakeEntryCurrent();

  // SetPosition without ending the walk: the steps' own moves by time.
  int Position(double& time, SeekDirection direction);
  bool Step(bool forward, int count, std::uint32_t& camera, std::uint32_t& kinds,
            double& time, FrameStream& stream);
  // The step of the format: within the ring by count, or by time.
  bool StepAsFormatSays(bool forward, int count);
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
  std::int64_t FileSize_ = 0;  // asked afresh at every Locate
  std::int64_t VolumeIndex_ = 0;  // the open volume's place in the VolumeList

  // The current record as a mark; Positioned_ is false until a record was
  // chosen (Open chooses none).
  RecordMark Current_{};
  bool Positioned_ = false;
  // Steps in one direction since the last position change form a walk; each
  // must go strictly past the walk's last record (WalkMark_), so a damaged
  // ring can never make a step return to a record it handed out.
  int WalkDirection_ = 0;  // 1 forward, -1 backward, 0 no walk
  RecordMark WalkMark_{};
};
