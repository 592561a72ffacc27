#pragma once
// ExportWalk: which frames a fragment export takes, free of widgets.
//
// Started at the interval start, it reads the archive forward record by
// record from the first record at or after the start, and selects a record's frame
// when its camera is 0..31 with its bit in the camera mask, its kinds share
// a bit with the kind mask, the reader handed out its bytes and the front
// end takes that camera; every other record is passed over. It stops at a
// requested stop, at the end of the archive, or at the first record after
// the interval end (a record exactly at the end is still selected).
//
// The front end is asked for the stop, the masks and the interval end
// afresh before every record: in the playback window the operator may
// change filters, cells and interval while an export runs, and each record
// is judged by the settings in force when it is read.

#include <cstdint>

#include "common/FrameStream.h"

class TOrxRead;

// What the walk asks of the front end that drives it.
class ExportFront {
 public:
  virtual ~ExportFront() = default;
  virtual bool StopRequested() const = 0;
  virtual std::uint32_t CameraMask() const = 0;
  virtual std::uint32_t KindMask() const = 0;
  virtual double IntervalEnd() const = 0;
  // Whether a frame of this camera (0..31, its bit in the mask) is taken.
  virtual bool Takes(std::uint32_t camera) const {
    (void)camera;
    return true;
  }
  // Before each record is read.
  virtual void BeforeRecord() {}
  // After a record was passed over. False ends the walk (Abandoned).
  virtual bool PassedOver() { return true; }
  // A wanted record whose frame could not be read (a length or place the
  // reader refuses): it is not in the export, and the walk goes on past it.
  virtual void Unreadable(double time) { (void)time; }
};

enum class WalkStep {
  Selected,      // the frame is in the stream; Camera() and Kinds() describe it
  Stopped,       // a stop was requested; nothing was read
  ArchiveEnd,    // no further record could be read
  PastInterval,  // the record read lies after the interval end
  Abandoned,     // the front end gave up after a record passed over
};

class ExportWalk {
 public:
  // time: the walk's position, moved to every record read (the playback
  // window's PlaybackTime). stream: receives each record's frame.
  ExportWalk(TOrxRead& reader, double& time, FrameStream& stream)
      : reader_(reader), time_(time), stream_(stream) {}

  // time = start, and the reader positioned forward there, on the first
  // record at or after start. True when there is one: the first Step hands
  // out that record itself, the interval's first.
  bool Start(double start);
  // For a walk made afresh for each step (the playback window's): whether
  // its first Step takes the landing, and afterwards whether it still must.
  void TakeLandingFirst(bool take) { landing_ = take; }
  bool LandingPending() const { return landing_; }
  // Reads forward until a frame is selected or the walk ends.
  WalkStep Step(ExportFront& front);

  // The camera and Kind bits of the record read last.
  std::uint32_t Camera() const { return camera_; }
  std::uint32_t Kinds() const { return kinds_; }

 private:
  TOrxRead& reader_;
  double& time_;
  FrameStream& stream_;
  std::uint32_t camera_ = 0;
  std::uint32_t kinds_ = 0;
  bool landing_ = false;
};
