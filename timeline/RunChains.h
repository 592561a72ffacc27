#pragma once
// RunChains: gathers records into chains, per camera and kind bit, before
// they go into the runs. A ring read in time order then costs a comparison
// or two per record and kind, and the runs see one Add per chain rather
// than one per record.

#include <array>
#include <cstdint>

#include "timeline/TimelineRuns.h"

class RunChains {
 public:
  // REQUIRES: runs outlives the chains.
  explicit RunChains(TimelineRuns& runs) : runs_(runs) {}

  // A record of camera (0..31) carrying kinds. A record that comes within
  // the gap of its lane's open chain, on either side, joins it; any other
  // closes the chain (into the runs) and opens a new one.
  void Record(int camera, std::uint32_t kinds, double time);
  // Hands every open chain to the runs.
  void Flush();

 private:
  TimelineRuns& runs_;
  std::array<TimelineRun, CameraCount * TimelineKindCount> open_{};  // records 0: none
};
