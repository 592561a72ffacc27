#pragma once
// TimelineBuilder: turns an archive into its runs (TimelineRuns) by reading
// the index entries of its volumes, never a frame, volume by volume in the
// list's order. Each ring's live slots are read in a few large reads.
//
// An entry makes runs exactly when the reader would hand it out with its
// frame: it lies between its ring's Head and Tail, in a ring whose pointers
// fit the file and whose first and last times are finite; its time lies
// within the earliest ring start and latest ring end of the archive; its
// camera is 0..31; its frame lies inside the file. Each kind bit it carries
// (1, 2, 4, 8) puts it into that kind's lane. Only entries inside the
// options' from..to make runs.
//
// Made for a thread of its own: Step reads one volume, after which
// TakeChanges hands the runs that changed to the window's own TimelineRuns
// (Apply). Once every volume is read, ReadOn reads on in each from where its
// rings were read, for a volume a recorder is still filling. The builder is
// owned by one thread at a time; nothing in it is shared.

#include <array>
#include <cstdint>
#include <limits>
#include <vector>

#include "archive/VolumeList.h"
#include "timeline/IndexScan.h"
#include "timeline/RunChains.h"
#include "timeline/TimelineRuns.h"

struct TimelineOptions {
  double gapSeconds = DefaultRunGapSeconds;
  // Only records inside from..to (both included) make runs.
  double from = -std::numeric_limits<double>::infinity();
  double to = std::numeric_limits<double>::infinity();
};

// What a ReadOn found.
struct ReadOnResult {
  // Entries read beyond where the rings had been read.
  std::int64_t entries = 0;
  // A ring dropped records from its Head or started afresh since it was
  // read. The runs still hold the records it no longer has: build afresh
  // to forget them.
  bool dropped = false;
};

class TimelineBuilder {
 public:
  explicit TimelineBuilder(VolumeList volumes, TimelineOptions options = {});
  TimelineBuilder(const TimelineBuilder&) = delete;
  TimelineBuilder& operator=(const TimelineBuilder&) = delete;

  // Reads the next volume of the list not read yet. False, reading nothing,
  // once every volume has been read. The first step also reads the ring
  // ends of every volume: the range of times an entry must lie in.
  bool Step();
  // Steps until every volume is read.
  void ReadAll();
  // Reads on in every volume read so far: what its rings gained since.
  ReadOnResult ReadOn();

  std::size_t VolumeCount() const { return volumes_.size(); }
  std::size_t VolumesRead() const { return next_; }
  // Volumes read that were volumes (the magic matched).
  std::size_t VolumesFound() const { return found_; }
  // Index slots read so far.
  std::int64_t EntriesRead() const { return scan_.SlotsRead(); }

  const TimelineRuns& Runs() const { return runs_; }
  // The lanes changed since the last call; see TimelineRuns::TakeChanges.
  TimelineChanges TakeChanges() { return runs_.TakeChanges(); }

 private:
  // How far a ring has been read: the slot one past the last read, and
  // that last slot's bytes, which tell a ring grown from one rewritten.
  struct RingProgress {
    std::int64_t head = -1;
    std::int64_t readTo = -1;  // -1: never read
    std::array<std::uint8_t, 32> lastSlot{};
  };
  struct VolumeProgress {
    std::array<RingProgress, 2> rings;
  };

  void SeeRingEnds();
  // Reads the volume's rings from where they were read; adds to result.
  void ReadVolume(std::size_t index, ReadOnResult& result);

  VolumeList volumes_;
  TimelineOptions options_;
  TimelineRuns runs_;
  RunChains chains_;
  IndexScan scan_;
  std::vector<VolumeProgress> progress_;
  std::size_t next_ = 0;
  std::size_t found_ = 0;
  bool seen_ = false;
  double lower_ = std::numeric_limits<double>::infinity();
  double upper_ = -std::numeric_limits<double>::infinity();
};
