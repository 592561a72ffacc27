#pragma once
// The playback window's side of the timeline benchmark: how long its thread
// spends on timeline work in one go (taking over the runs the builder hands
// over, painting the strip) while the runs of an archive are built and the
// strip is painted at every zoom from the whole archive to a minute.

#include "archive/VolumeList.h"

struct TimelineWindowFigures {
  double longestMs = -1.0;  // the longest single piece of work
  double medianMs = -1.0;   // the median piece
  int pieces = 0;           // hand-overs and paints measured
};

// Shows the window over volumes, offscreen, and measures; longestMs stays
// negative when the runs were not built.
TimelineWindowFigures MeasureTimelineWindow(const VolumeList& volumes, int& argc, char** argv);
