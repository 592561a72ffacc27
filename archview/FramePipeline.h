#pragma once
// FramePipeline: the frames a run is about to show, decoded ahead on worker
// threads (view/PictureWorkers.h), one per core, while the window's thread
// reads, paces and shows as it always did.
//
// The run's own reading decides everything: which record comes next, which
// cell gets it, when. Ahead of it a second reader, put on the run's place in
// the walk, reads the records the next steps will show if nothing changes
// (the same masks, cells, interval, the skip between cycles) and hands
// their frames to the workers, each for the size its cell shows. When the
// run then reads a frame it takes the picture made ahead for it, if that
// was made from the very same bytes for the very same size; otherwise, and
// for every frame shown outside a run (a single step, the export, the
// picture at a new position), the picture is made on the spot. So what is
// shown never depends on the workers: they only make it sooner. Read-ahead
// that a control made wrong (a move, other filters or cells, another
// speed) is thrown away, never shown.

#include <cstdint>
#include <deque>
#include <memory>

#include <QSize>

#include "archive/ArchiveSpans.h"
#include "archive/OrxRead.h"
#include "view/CellPicture.h"
#include "view/PictureWorkers.h"

class FrameDecoder;
class FrameStream;
class TArchView;
class TCellImage;

class FramePipeline {
 public:
  // threads < 0: one per core. windowDecoder makes the pictures made on
  // the window's thread. REQUIRES: window, its reader and windowDecoder
  // outlive the pipeline.
  FramePipeline(TArchView& window, FrameDecoder& windowDecoder, int threads = -1);
  ~FramePipeline();
  FramePipeline(const FramePipeline&) = delete;
  FramePipeline& operator=(const FramePipeline&) = delete;

  // Worker threads now at work; 0: everything on the window's thread.
  int Threads() const { return workers_->Threads(); }
  // Starts over with threads workers (< 0: one per core).
  void SetThreads(int threads);
  // false: every frame decoded at its full size, whatever its cell's size.
  void SetScaled(bool scaled);
  bool Scaled() const { return scaled_; }

  // Puts the frame just read into stream (camera's, recorded at time) into
  // image as its picture; true when it decoded. The stream's position moves.
  bool PutInto(TCellImage& image, std::uint32_t camera, double time, FrameStream& stream);

  // Before a step of a run going forward (or not) with stepsLeft steps
  // before its next skip: reads on ahead and hands frames to the workers.
  void ReadAhead(bool forward, int stepsLeft);
  // Throws all read-ahead away.
  void Drop();

  // Frames read ahead and not yet taken; for tests of the bound.
  int Pending() const { return static_cast<int>(ahead_.size()); }
  int Slots() const { return workers_->Slots(); }
  // Pictures put into cells so far: taken from the read-ahead, or made on
  // the spot. For benchmarks.
  long long TakenAhead() const { return takenAhead_; }
  // Bytes the read-ahead holds: slots, the makers' buffers.
  std::size_t HeldBytes() const { return workers_->HeldBytes() + here_.HeldBytes(); }
  long long MadeOnTheSpot() const { return madeHere_; }

 private:
  // What the read-ahead was read for: while any of it changes, it is no
  // good.
  struct Conditions {
    bool forward = true;
    std::uint32_t cameras = 0;
    std::uint32_t kinds = 0;
    std::int32_t skip = 0;
    bool realTime = false;
    double from = 0.0;
    double to = 0.0;
    bool operator==(const Conditions&) const = default;
  };
  // A frame read ahead: the slot holding it, its camera and time, the
  // run's place in the walk before the step that will show it, and the
  // picture asked of it.
  struct Ahead {
    int slot = -1;
    std::uint32_t camera = 0;
    double time = 0.0;
    RecordKey before;
    bool hasBefore = false;
    QSize shown;
    int largestScale = 1;
  };
  Conditions Now(bool forward) const;
  // Whether the read-ahead still fits the cells and the run's place.
  bool StillGood() const;
  // One step's worth: reads until a frame the step would show, which goes
  // to a slot, counting the records read in reads. False when reading must
  // stop for now.
  bool ReadOneAhead(int& reads);
  // The follower's step (count records, or by time for 0) with the masks.
  bool FollowerStep(int count, std::uint32_t& camera, std::uint32_t& kinds, double& time,
                    FrameStream& stream);
  // Makes the picture of stream for image here and puts it in.
  bool MakeHere(TCellImage& image, FrameStream& stream);
  // Puts picture, made of stream, into image.
  bool Show(TCellImage& image, CellPicture& picture, FrameStream& stream);

  TArchView& window_;
  CellPictureMaker here_;
  std::unique_ptr<PictureWorkers> workers_;
  bool scaled_ = true;
  TOrxRead follower_;
  std::deque<Ahead> ahead_;
  Conditions conditions_;
  // The follower's walk: whether it stands on the run's way at all, steps
  // left before its next skip, where the step it is reading for began (the
  // run's place then), and whether it ran out of records.
  bool following_ = false;
  // The follow began on a position a control set, whose record the run
  // shows first (TArchView::LandingPending); its first read takes it.
  bool followedLanding_ = false;
  bool landingFirst_ = false;
  int stepsLeft_ = 0;
  RecordKey stepFrom_;
  bool hasStepFrom_ = false;
  bool ended_ = false;
  FrameStream skipped_;
  CellPicture picture_;
  long long takenAhead_ = 0;
  long long madeHere_ = 0;
};
