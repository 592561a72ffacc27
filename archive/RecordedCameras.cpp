#include "archive/RecordedCameras.h"

#include <algorithm>
#include <vector>

#include "archive/FileHandle.h"
#include "archive/VolumeFormat.h"
#include "archive/VolumeRules.h"
#include "common/CameraMask.h"

namespace {

// Index entries read at a time: 32 KiB.
constexpr std::int64_t kChunkEntries = 1024;

}  // namespace

std::uint32_t CamerasRecorded(const std::string& path, const std::stop_token& stop) {
  FileHandle file;
  if (!file.Open(path, FileHandle::Mode::ReadOnly)) return 0;
  VolumeHeader header;
  if (!ReadVolumeHeader(file, header) || !header.HasMagic()) return 0;
  const VolumeGeometry geometry = GeometryFor(file.Size());
  std::uint32_t cameras = 0;
  std::vector<std::uint8_t> chunk(kChunkEntries * EntrySize);
  for (int ring = 0; ring < 2; ++ring) {
    const std::int64_t live = LiveEntries(header, ring, geometry);
    const std::int64_t head = header.Head(ring);
    for (std::int64_t done = 0; done < live; done += kChunkEntries) {
      // Every camera found: nothing more to learn.
      if (stop.stop_requested() || cameras == AllCameras) return cameras;
      const std::int64_t count = std::min(kChunkEntries, live - done);
      // A volume cut short while it is read gives what was found before.
      if (!file.ReadAt(head + done * EntrySize, chunk.data(), count * EntrySize)) return cameras;
      for (std::int64_t i = 0; i < count; ++i)
        cameras |= CameraBit(DecodeEntry(chunk.data() + i * EntrySize).Camera);
    }
  }
  return cameras;
}
