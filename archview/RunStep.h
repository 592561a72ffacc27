#pragma once
// A run's read of count records on (0: by time), as the playback window and
// its read-ahead both make it. A position a control has just set leaves the
// reader on a record no step has read yet (the landing): it counts as the
// first of the count, so a step shows it and a skip of one passes over it,
// instead of both going past it unseen.

#include <cstdint>

#include "archive/OrxRead.h"
#include "common/FrameStream.h"

inline bool ReadRunStep(TOrxRead& reader, bool& landing, bool forward, int count,
                        std::uint32_t& camera, std::uint32_t& kinds, double& time,
                        FrameStream& stream) {
  const bool fromLanding = landing;
  landing = false;
  if (fromLanding && count == 1) return reader.Current(camera, kinds, time, stream);
  if (fromLanding && count > 1) --count;
  return forward ? reader.Next(count, camera, kinds, time, stream)
                 : reader.Previous(count, camera, kinds, time, stream);
}
