// Fuzz target: TOrxWrite's Open and Appends on any file image. The file is
// at least 1 MiB (the image at its start and again at ring 1's start, so the
// fuzzer reaches both rings), or the image alone when asked. Contracts:
// - Open changes at most the header;
// - an Append that returns 1 writes only the header, one slot (the current
//   ring's Tail, never its last slot) and the frame, and the header then
//   counts exactly that entry; any other result changes nothing;
// - the writer's own header always has usable ring pointers.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "archive/OrxWrite.h"
#include "archive/VolumeRules.h"
#include "common/DateTime.h"
#include "common/LittleEndian.h"
#include "fuzz/FuzzSupport.h"

namespace {

using fuzz::ByteReader;

struct Range {
  std::int64_t from, to;  // [from, to)
};

// The file equals before except inside the ranges: the gaps between them
// compared whole (a volume is a mebibyte and more, and this runs per Append).
void CheckOnlyChanged(const std::vector<std::uint8_t>& before,
                      const std::vector<std::uint8_t>& after, std::vector<Range> ranges) {
  FUZZ_CHECK(before.size() == after.size());  // never grown or shrunk
  const std::int64_t size = std::int64_t(after.size());
  std::sort(ranges.begin(), ranges.end(), [](const Range& a, const Range& b) { return a.from < b.from; });
  std::int64_t at = 0;
  ranges.push_back({size, size});
  for (const Range& r : ranges) {
    const std::int64_t gapEnd = std::clamp<std::int64_t>(r.from, at, size);
    if (gapEnd > at)
      FUZZ_CHECK(std::memcmp(before.data() + at, after.data() + at, std::size_t(gapEnd - at)) == 0);
    at = std::clamp<std::int64_t>(std::max(at, r.to), 0, size);
  }
}

void CheckHeaderSound(const TOrxWrite& writer, std::int64_t size) {
  const VolumeHeader& h = writer.Header();
  const VolumeGeometry g = GeometryFor(size);
  FUZZ_CHECK(h.HasMagic());
  FUZZ_CHECK(RingPointersUsable(h, 0, g) && RingPointersUsable(h, 1, g));
  FUZZ_CHECK(h.CurrentRing == 0 || h.CurrentRing == 1);
  FUZZ_CHECK(writer.WritePos() >= g.DataStart());
  FUZZ_CHECK(writer.WritePos() <= std::min<std::int64_t>(size, MaxAddressableSize));
}

std::int32_t PickLength(ByteReader& in) {
  const std::uint8_t b = in.Byte();
  const std::int32_t lengths[] = {0, 99, 100, 200, 1000, 50000, ExportBufferSize,
                                  ExportBufferSize + 1, -1, 4096};
  if (b < 160) return lengths[b % 10];
  return std::int32_t(in.Word() % (ExportBufferSize + 2));
}

double PickTime(ByteReader& in) {
  const std::uint8_t b = in.Byte();
  if (b == 0) return std::numeric_limits<double>::quiet_NaN();
  if (b == 1) return std::numeric_limits<double>::infinity();
  return 46000.0 + b * StepGap;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::ScriptedInput input = fuzz::SplitInput(data, size);
  const std::string path = fuzz::ScratchPath("w.oxa");
  std::vector<std::uint8_t> file = input.image;
  if (input.flags != 0xFF) {
    const std::int64_t fileSize = MinVolumeSize + std::int64_t{input.flags} * 1000;
    file.resize(static_cast<std::size_t>(fileSize), 0);
    const std::int64_t ring1 = GeometryFor(fileSize).RingStart(1);
    for (std::size_t i = HeaderSize; i < input.image.size(); ++i)
      if (ring1 + std::int64_t(i) - HeaderSize < fileSize)
        file[std::size_t(ring1) + i - HeaderSize] = input.image[i];
  }
  fuzz::WriteScratchFile(path, file);
  const std::int64_t fileSize = std::int64_t(file.size());

  TOrxWrite writer;
  ByteReader script(input.script.data(), input.script.size());
  // The file before and after each call, in buffers kept between inputs.
  static std::vector<std::uint8_t> before, after;
  bool open = false;
  auto openWriter = [&] {
    fuzz::ReadWholeFileInto(path, before);
    open = writer.Open(path);
    fuzz::ReadWholeFileInto(path, after);
    CheckOnlyChanged(before, after, {{0, HeaderSize}});
    FUZZ_CHECK(open == writer.IsOpen());
    if (!open) return;
    CheckHeaderSound(writer, fileSize);
    std::uint8_t written[HeaderSize];
    EncodeHeader(writer.Header(), written);
    FUZZ_CHECK(std::equal(written, written + HeaderSize, after.begin()));
  };
  openWriter();

  for (int op = 0; op < 16 && !script.Done(); ++op) {
    const std::uint8_t kind = script.Byte();
    if (kind % 8 == 7) {
      openWriter();
      continue;
    }
    const std::int32_t camera = std::int32_t(script.Byte()) - 4;
    const std::int32_t kinds = script.Byte() & 15;
    const double time = PickTime(script);
    const std::int32_t length = PickLength(script);
    // A pattern laid once; the first byte tells the Appends apart.
    static const bool patterned = [] {
      for (std::size_t i = 0; i < ExportBuffer.size(); ++i) ExportBuffer[i] = std::uint8_t(i * 31);
      return true;
    }();
    (void)patterned;
    ExportBuffer[0] = kind;

    const VolumeHeader header = writer.Header();
    const std::int32_t writePos = writer.WritePos();
    fuzz::ReadWholeFileInto(path, before);
    const int r = writer.Append(camera, kinds, time, length);
    fuzz::ReadWholeFileInto(path, after);
    FUZZ_CHECK(r >= -1 && r <= 1);
    FUZZ_CHECK(open || r == -1);
    if (r != 1) {
      FUZZ_CHECK(before == after);
      FUZZ_CHECK(writer.WritePos() == writePos);
      continue;
    }
    const int ring = header.CurrentRing;
    const std::int64_t slot = header.Tail(ring);
    const VolumeGeometry g = GeometryFor(fileSize);
    FUZZ_CHECK(slot + EntrySize < g.RingEnd(ring));  // never the last slot
    FUZZ_CHECK(std::int64_t{writePos} + length <= std::min<std::int64_t>(fileSize, MaxAddressableSize));
    CheckOnlyChanged(before, after,
                     {{0, HeaderSize}, {slot, slot + EntrySize}, {writePos, std::int64_t{writePos} + length}});
    CheckHeaderSound(writer, fileSize);
    FUZZ_CHECK(writer.Header().Tail(ring) == slot + EntrySize);
    FUZZ_CHECK(writer.Header().Head(ring) == header.Head(ring));
    FUZZ_CHECK(writer.WritePos() == writePos + length);
    const IndexEntry e = DecodeEntry(after.data() + slot);
    FUZZ_CHECK(e.Camera == camera && e.Kind == kinds && e.Offset == writePos && e.Length == length);
    FUZZ_CHECK(e.Time == time);
    FUZZ_CHECK(std::equal(after.begin() + writePos, after.begin() + writePos + length,
                          ExportBuffer.begin()));
    std::uint8_t written[HeaderSize];
    EncodeHeader(writer.Header(), written);
    FUZZ_CHECK(std::equal(written, written + HeaderSize, after.begin()));
  }
  return 0;
}
