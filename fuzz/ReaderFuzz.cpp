// Fuzz target: TOrxRead over one or two volume images, driven by a short
// script of positions and steps, with the file cut short, grown and
// re-pointed mid-walk. Contracts, not only the absence of crashes:
// - a frame handed out lies inside the file and matches its bytes;
// - a failed step changes nothing the caller holds;
// - within a walk (steps in one direction since the last position change)
//   no step repeats a record or goes against the direction in time, apart
//   from Previous with count 0, which hands the current record out again;
// - a walk to the end of an archive that does not change ends within as
//   many steps as the volumes have slots;
// - on a sound archive (rings in time order, none overlapping another) a
//   walk from either end reaches every record exactly once.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <set>
#include <utility>

#include "archive/OrxRead.h"
#include "archive/VolumeRules.h"
#include "common/CameraMask.h"
#include "common/DateTime.h"
#include "common/LittleEndian.h"
#include "common/RecordKind.h"
#include "fuzz/FuzzSupport.h"
#include "platform/Clock.h"

namespace {

using fuzz::ByteReader;

// ORX_FUZZ_TRACE=1 prints every call and its outcome, for reading a crasher.
const bool Trace = std::getenv("ORX_FUZZ_TRACE") != nullptr;

const std::uint8_t Marker[] = {'M', 'R', 'K'};

class ReaderRun {
 public:
  ReaderRun(const fuzz::ScriptedInput& input) : input_(input) {
    // flags bit 0: the image is two volumes, split in the middle;
    // bit 1: a FIFO and a missing file are listed too.
    const std::vector<std::uint8_t>& image = input.image;
    const std::size_t half = (input.flags & 1) ? image.size() / 2 : image.size();
    paths_.push_back(fuzz::ScratchPath("a.oxa"));
    fuzz::WriteScratchFile(paths_[0], {image.begin(), image.begin() + long(half)});
    if (input.flags & 1) {
      paths_.push_back(fuzz::ScratchPath("b.oxa"));
      fuzz::WriteScratchFile(paths_[1], {image.begin() + long(half), image.end()});
    }
    list_ = paths_;
    if (input.flags & 2) {
      const std::string fifo = fuzz::ScratchPath("pipe.oxa");
      struct stat st {};
      if (::stat(fifo.c_str(), &st) != 0) ::mkfifo(fifo.c_str(), 0600);
      list_.insert(list_.begin(), fifo);
      list_.push_back(fuzz::ScratchPath("missing.oxa"));
    }
    clock_.Set(PickPresent(input.flags >> 3));
  }

  void Run() {
    InstallClock(&clock_);
    reader_.Open();
    CheckSoundWalks();
    reader_.Open();
    ResetWalk();
    ByteReader script(input_.script.data(), input_.script.size());
    while (!script.Done()) Op(script);
    InstallClock(nullptr);
  }

 private:
  double PickPresent(int which) const {
    switch (which & 3) {
      case 0: return 46001.0;
      case 1: return TimeFromImage(which >> 2) + 1.0;
      case 2: return 0.0;
      default: return TimeFromImage(which >> 2);
    }
  }

  // The Time field of a slot of the first volume image, so positions land
  // among the records rather than far from them.
  double TimeFromImage(std::uint32_t pick) const {
    const std::vector<std::uint8_t>& image = input_.image;
    const VolumeGeometry g = GeometryFor(std::int64_t(image.size()));
    const std::int64_t slots = g.MaxEntriesPerRing();
    if (slots == 0) return 46000.0;
    const int ring = int(pick & 1);
    const std::int64_t at = g.RingStart(ring) + EntrySize * std::int64_t((pick >> 1) % slots);
    if (at + 16 > std::int64_t(image.size())) return 46000.0;
    return GetF64(image.data() + at + 8);
  }

  double PickTime(ByteReader& in) {
    const std::uint8_t b = in.Byte();
    switch (b >> 5) {
      case 0: return std::numeric_limits<double>::quiet_NaN();
      case 1: {
        const double special[] = {0.0, -1.0, 46000.0, 1.7e10, -2e10, FarFuture, 1e300,
                                  std::numeric_limits<double>::infinity()};
        return special[b & 7];
      }
      case 2: return TimeFromImage(b & 31) + StepGap;
      case 3: return TimeFromImage(b & 31) - StepGap;
      default: return TimeFromImage(std::uint32_t(b & 31) | (std::uint32_t(in.Byte()) << 5));
    }
  }

  // After anything that may leave the reader on a record this harness does
  // not know (Open, Close, a changed file, a failed step).
  void ResetWalk() {
    walkDirection_ = 0;
    walked_.clear();
    fromKnown_ = false;
  }

  void Op(ByteReader& in) {
    const std::uint8_t op = in.Byte();
    if (Trace) std::fprintf(stderr, "op %d\n", op % 12);
    switch (op % 12) {
      case 0:
      case 1: Position(PickTime(in), op % 2 == 0); break;
      case 2:
      case 3: {
        // One byte after the other: argument order is the compiler's choice.
        const int count = in.Byte() % 4;
        const std::uint8_t masks = in.Byte();
        Step(op % 2 == 0, count, masks);
        break;
      }
      case 4:
      case 5: WalkToEnd(op % 2 == 0, in.Byte()); break;
      case 6: Resize(in.Byte(), /*grow=*/false); break;
      case 7: Resize(in.Byte(), /*grow=*/true); break;
      case 8: Repoint(in); break;
      case 9:
        reader_.Open();
        ResetWalk();
        break;
      case 10:
        reader_.Close();
        ResetWalk();
        break;
      default: {
        double first = 0, last = 0;
        const std::string path = reader_.GetRange(first, last);
        FUZZ_CHECK(reader_.IsOpen() || (path.empty() && first == 0 && last == 0));
      }
    }
  }

  void Position(double requested, bool forward) {
    double time = requested;
    const int r = reader_.SetPosition(time, forward ? SeekDirection::Forward : SeekDirection::Backward);
    ResetWalk();
    fromKnown_ = r == 1;
    if (Trace)
      std::fprintf(stderr, "  SetPosition(%.17g, %s) = %d time=%.17g at %s:%d ring %d\n",
                   requested, forward ? "fwd" : "back", r, time, reader_.FileName().c_str(),
                   reader_.EntryPos(), reader_.ActiveRing());
    FUZZ_CHECK(r >= -1 && r <= 1);
    if (r == 1) {
      FUZZ_CHECK(time == reader_.CurrentTime());
      FUZZ_CHECK(time == reader_.Entry().Time);
      FUZZ_CHECK(time >= reader_.LowerTime() && time <= reader_.UpperTime());
    } else if (r == -1) {
      FUZZ_CHECK(std::isnan(requested) ? std::isnan(time) : time == requested);
    }
  }

  // The live entries of every listed volume, when the archive is sound:
  // usable ring pointers, finite times in order within each ring, and no
  // two rings overlapping in time (meeting at one time is allowed).
  // Otherwise -1.
  std::int64_t SoundRecordCount(double& first) const {
    struct Span {
      double first, last;
    };
    std::vector<Span> spans;
    std::int64_t records = 0;
    for (const std::string& path : paths_) {
      FileHandle file;
      VolumeHeader header;
      if (!file.Open(path, FileHandle::Mode::ReadOnly) || !ReadVolumeHeader(file, header) ||
          !header.HasMagic())
        continue;
      const VolumeGeometry g = GeometryFor(file.Size());
      for (int ring = 0; ring < 2; ++ring) {
        if (!RingPointersUsable(header, ring, g)) return -1;
        const std::int64_t n = LiveEntries(header, ring, g);
        double previous = -std::numeric_limits<double>::infinity();
        for (std::int64_t i = 0; i < n; ++i) {
          IndexEntry e;
          if (!ReadIndexEntry(file, header.Head(ring) + EntrySize * i, e)) return -1;
          if (!std::isfinite(e.Time) || e.Time < previous) return -1;
          if (i == 0) spans.push_back({e.Time, e.Time});
          spans.back().last = previous = e.Time;
        }
        records += n;
      }
    }
    if (spans.empty()) return -1;
    first = spans[0].first;
    for (std::size_t a = 0; a < spans.size(); ++a) {
      first = std::min(first, spans[a].first);
      for (std::size_t b = a + 1; b < spans.size(); ++b)
        if (spans[a].last > spans[b].first && spans[b].last > spans[a].first) return -1;
    }
    return records;
  }

  // A walk over a sound archive reaches every record exactly once, from
  // either end.
  void CheckSoundWalks() {
    double first = 0;
    const std::int64_t records = SoundRecordCount(first);
    if (records <= 0) return;
    for (bool forward : {true, false}) {
      double time = forward ? first : std::numeric_limits<double>::infinity();
      const int r = reader_.SetPosition(time, forward ? SeekDirection::Forward
                                                      : SeekDirection::Backward);
      FUZZ_CHECK(r == 1);
      std::set<std::pair<std::string, std::int64_t>> reached{
          {reader_.FileName(), reader_.EntryPos()}};
      for (std::int64_t i = 0; i < records; ++i) {
        std::uint32_t camera = 0, kinds = KindAll;  // no frame wanted
        double at = 0;
        stream_.Clear();
        if (!(forward ? reader_.Next(1, camera, kinds, at, stream_)
                      : reader_.Previous(1, camera, kinds, at, stream_)))
          break;
        FUZZ_CHECK(reached.emplace(reader_.FileName(), reader_.EntryPos()).second);
      }
      FUZZ_CHECK(std::int64_t(reached.size()) == records);
    }
  }

  // One step; true when a record was reached.
  bool Step(bool forward, int count, std::uint8_t masks) {
    const std::uint32_t cameraMask = (masks & 0x80) ? AllCameras : CameraBit(masks & 31);
    const std::uint32_t kindMask = (masks & 0x60) == 0x60 ? 0 : KindAll;
    std::uint32_t camera = cameraMask, kinds = kindMask;
    const double before = -12345.0;
    double time = before;
    stream_.Clear();
    stream_.Append(Marker, sizeof Marker);
    const std::pair<std::string, std::int64_t> from{reader_.FileName(), reader_.EntryPos()};
    const int direction = forward ? 1 : -1;
    if (walkDirection_ != direction) {
      // A step the other way, even a failed one, starts a new walk.
      walked_.clear();
      if (fromKnown_) walked_.insert(from);
      walkDirection_ = direction;
      haveLast_ = false;
    }
    const bool ok = forward ? reader_.Next(count, camera, kinds, time, stream_)
                            : reader_.Previous(count, camera, kinds, time, stream_);
    if (Trace)
      std::fprintf(stderr, "  %s(%d) = %d time=%.17g at %s:%d ring %d\n", forward ? "Next" : "Previous",
                   count, ok, time, reader_.FileName().c_str(), reader_.EntryPos(),
                   reader_.ActiveRing());
    if (!ok) {
      // A failed step changes nothing the caller holds.
      FUZZ_CHECK(camera == cameraMask && kinds == kindMask && time == before);
      FUZZ_CHECK(stream_.Size() == sizeof Marker &&
                 std::equal(Marker, Marker + sizeof Marker, stream_.Data()));
      fromKnown_ = false;
      return false;
    }
    const IndexEntry& e = reader_.Entry();
    FUZZ_CHECK(time == e.Time && time == reader_.CurrentTime());
    FUZZ_CHECK(time >= reader_.LowerTime() && time <= reader_.UpperTime());
    FUZZ_CHECK(camera == std::uint32_t(e.Camera) && kinds == std::uint32_t(e.Kind));
    const bool wanted = KindWanted(kindMask, kinds) && CameraWanted(cameraMask, e.Camera);
    if (wanted) CheckFrame(e);
    else FUZZ_CHECK(stream_.Empty());
    CheckWalk(forward, count, from, time);
    return true;
  }

  // The bytes handed out are the file's own, from inside the file.
  void CheckFrame(const IndexEntry& e) {
    FUZZ_CHECK(stream_.Size() == sizeof Marker + std::size_t(std::max(e.Length, 0)));
    FUZZ_CHECK(std::equal(Marker, Marker + sizeof Marker, stream_.Data()));
    FileHandle file;
    FUZZ_CHECK(file.Open(reader_.FileName(), FileHandle::Mode::ReadOnly));
    FUZZ_CHECK(FrameWithinFile(e.Offset, e.Length, file.Size()));
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(e.Length));
    FUZZ_CHECK(file.ReadAt(e.Offset, bytes.data(), e.Length));
    FUZZ_CHECK(std::equal(bytes.begin(), bytes.end(), stream_.Data() + sizeof Marker));
  }

  void CheckWalk(bool forward, int count, const std::pair<std::string, std::int64_t>& from,
                 double time) {
    const std::pair<std::string, std::int64_t> here{reader_.FileName(), reader_.EntryPos()};
    fromKnown_ = true;
    if (!forward && count == 0 && here == from) return;  // Previous(0) stays
    if (haveLast_) FUZZ_CHECK(forward ? time >= lastTime_ : time <= lastTime_);
    FUZZ_CHECK(walked_.insert(here).second);
    lastTime_ = time;
    haveLast_ = true;
  }

  // Steps one way until a step fails; the archive holds at most this many
  // records, and no walk hands one out twice.
  void WalkToEnd(bool forward, std::uint8_t masks) {
    std::int64_t bound = 1;
    for (const std::string& path : paths_) {
      FileHandle file;
      if (file.Open(path, FileHandle::Mode::ReadOnly))
        bound += 2 * GeometryFor(file.Size()).MaxEntriesPerRing();
    }
    for (std::int64_t i = 0;; ++i) {
      if (!Step(forward, 1, masks)) {
        if (!reader_.IsOpen()) return;
        // A frame that cannot be read fails a step that still moved; the
        // walk goes on past it, as playback would not, to prove it ends.
        if (!Step(forward, 1, masks)) return;
      }
      FUZZ_CHECK(i < bound);
    }
  }

  void Resize(std::uint8_t how, bool grow) {
    const std::string& path = paths_[how & 1 ? paths_.size() - 1 : 0];
    FileHandle file;
    if (!file.Open(path, FileHandle::Mode::ReadOnly)) return;
    const std::int64_t size = file.Size();
    const std::int64_t to = grow ? size + 1024 * (how >> 1) : size * (how >> 1) / 128;
    if (::truncate(path.c_str(), to) == 0) ResetWalk();
  }

  // Rewrites one header word of the first volume, as a recorder would move
  // its ring pointers.
  void Repoint(ByteReader& in) {
    const std::uint8_t b = in.Byte();
    const std::int64_t at = 8 + 4 * (b % 6);
    FileHandle file;
    if (!file.Open(paths_[0], FileHandle::Mode::ReadWrite)) return;
    const VolumeGeometry g = GeometryFor(file.Size());
    std::uint32_t value;
    if (b & 0x80) value = std::uint32_t(g.RingStart((b >> 6) & 1) + EntrySize * (in.Byte() % 64));
    else value = in.Word();
    std::uint8_t word[4];
    PutU32(word, value);
    if (file.WriteAt(at, word, 4)) ResetWalk();
  }

  const fuzz::ScriptedInput& input_;
  std::vector<std::string> paths_;  // the volume files made from the image
  VolumeList list_;
  FixedClock clock_{46001.0};
  TOrxRead reader_{list_};
  FrameStream stream_;
  int walkDirection_ = 0;
  bool fromKnown_ = false;  // the reader is on a record this harness saw it reach
  bool haveLast_ = false;
  double lastTime_ = 0;
  std::set<std::pair<std::string, std::int64_t>> walked_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::ScriptedInput input = fuzz::SplitInput(data, size);
  ReaderRun run(input);
  run.Run();
  return 0;
}
