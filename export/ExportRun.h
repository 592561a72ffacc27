#pragma once
// RunExport: one fragment export, from the frames a source selects into a
// sink. The playback window's source is its StepFrameForExport, which shows
// each frame on the way; orxtool's is an ExportWalk alone.

#include <cstdint>

#include "common/FrameStream.h"
#include "export/FrameSink.h"

class ExportSource {
 public:
  enum class Step {
    Frame,  // a frame is in the stream, described by camera, kinds and time
    Skip,   // no frame this time (showing it failed); ask again
    End,    // the export is over
  };
  virtual ~ExportSource() = default;
  virtual Step Next(std::uint32_t& camera, std::uint32_t& kinds, double& time) = 0;
  // The frame has been taken out of the stream and is about to go to the
  // sink. False: end the export once it is there.
  virtual bool Taken() { return true; }
  // Whether the export ended on a stop the operator asked for before the
  // interval was done.
  virtual bool Interrupted() const { return false; }
  // Wanted records passed over because their frames could not be read.
  virtual std::int64_t FramesUnreadable() const { return 0; }
};

enum class ExportEnd {
  Finished,    // the source ended and every file was finished
  SinkFailed,  // the sink refused a frame, or a file could not be finished
};

// Each frame is copied once, from stream into ExportBuffer, before the
// source's Taken runs (the window processes events there, and a nested step
// may reuse the stream or move the position), then appended. The sink is
// closed at the end in every case.
ExportEnd RunExport(ExportSource& source, const FrameStream& stream, FrameSink& sink);
