#include "export/FrameSink.h"

#include "common/CameraMask.h"

void FrameSink::Count(const std::string& path, std::int32_t camera, double time,
                      const std::uint8_t* bytes, std::int32_t length) {
  FileTally& tally = tallies_[path];
  if (tally.frames == 0) {
    tally.first = time;
    if (keepFirstFrames_) tally.firstFrame.assign(bytes, bytes + length);
  }
  tally.last = time;
  tally.cameras |= CameraBit(camera);
  ++tally.frames;
  tally.frameBytes += length;
}
