#include "tools/WalkCommand.h"

#include <zlib.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "archive/OrxRead.h"
#include "archive/VolumeFolder.h"
#include "common/DateTime.h"
#include "platform/Clock.h"
#include "tools/ToolArgs.h"

namespace {

struct WalkOp {
  enum class Kind { Seek, SeekBack, Next, Prev, Range } kind;
  double time = 0.0;
  int count = 0;
};

std::optional<WalkOp> ParseOp(const std::string& word) {
  const std::size_t colon = word.find(':');
  const std::string name = word.substr(0, colon);
  const bool hasArg = colon != std::string::npos;
  const std::string arg = hasArg ? word.substr(colon + 1) : "";
  WalkOp op{WalkOp::Kind::Range};
  if (name == "seek" || name == "seekback") {
    const std::optional<double> t = hasArg ? ParseTime(arg) : std::nullopt;
    if (!t) return std::nullopt;
    op.kind = name == "seek" ? WalkOp::Kind::Seek : WalkOp::Kind::SeekBack;
    op.time = *t;
    return op;
  }
  if (name == "next" || name == "prev") {
    const std::optional<std::int64_t> n =
        hasArg ? ParseInteger(arg, 0, 1000000000) : std::optional<std::int64_t>(1);
    if (!n) return std::nullopt;
    op.kind = name == "next" ? WalkOp::Kind::Next : WalkOp::Kind::Prev;
    op.count = int(*n);
    return op;
  }
  if (name == "range" && !hasArg) return op;
  return std::nullopt;
}

void Step(TOrxRead& reader, const WalkOp& op, double& time, std::uint32_t cameras,
          std::uint32_t kinds, FrameStream& stream) {
  std::uint32_t camera = cameras, kind = kinds;  // fresh copies every step
  stream.Clear();
  const bool forward = op.kind == WalkOp::Kind::Next;
  const bool ok = forward ? reader.Next(op.count, camera, kind, time, stream)
                          : reader.Previous(op.count, camera, kind, time, stream);
  const char* name = forward ? "next" : "prev";
  if (!ok) {
    std::printf("%s ok=0\n", name);
    return;
  }
  const uLong crc = crc32(crc32(0L, Z_NULL, 0), stream.Data(), uInt(stream.Size()));
  std::printf("%s ok=1 time=%s camera=%u kind=%u bytes=%zu crc32=%08lx entrypos=%d ring=%d\n",
              name, FormatDayNumber(time).c_str(), camera, kind, stream.Size(),
              static_cast<unsigned long>(crc), reader.EntryPos(), reader.ActiveRing());
}

}  // namespace

int RunWalk(const std::vector<std::string>& args) {
  ToolArgs words(args);
  std::optional<double> now;
  std::uint32_t cameras = 0xFFFFFFFFu, kinds = 15;
  VolumeList volumes;
  bool sawSeparator = false;
  while (!words.Done()) {
    const std::string w = words.Take();
    if (w == "--") {
      sawSeparator = true;
      break;
    }
    if (w == "--now" || w == "--cameras" || w == "--kinds") {
      const std::optional<std::string> v = words.TakeValue();
      if (!v) return UsageError("walk: " + w + " needs a value");
      if (w == "--now") {
        now = ParseTime(*v);
        if (!now) return UsageError("walk: bad time '" + *v + "'");
      } else {
        const std::optional<std::uint32_t> m = ParseMask(*v);
        if (!m) return UsageError("walk: bad mask '" + *v + "'");
        (w == "--cameras" ? cameras : kinds) = *m;
      }
    } else if (ToolArgs::IsOption(w)) {
      return UsageError("walk: unknown option '" + w + "'");
    } else {
      volumes.push_back(w);
    }
  }
  if (!sawSeparator) return UsageError("walk: missing '--' before the steps");
  if (volumes.empty()) return UsageError("walk: no volume given");
  volumes = WithFoldersOpened(volumes);
  // Every step is checked before the first is taken: a misspelt step never
  // leaves half a walk on standard output.
  std::vector<WalkOp> ops;
  while (!words.Done()) {
    const std::string w = words.Take();
    const std::optional<WalkOp> op = ParseOp(w);
    if (!op) return UsageError("walk: bad step '" + w + "'");
    ops.push_back(*op);
  }

  FixedClock fixed(now.value_or(0.0));
  if (now) InstallClock(&fixed);
  int exitCode = ExitOk;
  {
    TOrxRead reader(volumes);
    FrameStream stream;
    double time = 0.0;  // the one time variable, as the playback window keeps it
    std::printf("open ok=%d\n", reader.Open() ? 1 : 0);
    for (const WalkOp& op : ops) {
      switch (op.kind) {
        case WalkOp::Kind::Seek:
        case WalkOp::Kind::SeekBack: {
          time = op.time;
          const int r = reader.SetPosition(
              time, op.kind == WalkOp::Kind::Seek ? SeekDirection::Forward : SeekDirection::Backward);
          std::printf("seek result=%d time=%s entrypos=%d ring=%d\n", r,
                      FormatDayNumber(time).c_str(), reader.EntryPos(), reader.ActiveRing());
          break;
        }
        case WalkOp::Kind::Next:
        case WalkOp::Kind::Prev:
          Step(reader, op, time, cameras, kinds, stream);
          break;
        case WalkOp::Kind::Range: {
          double first = 0, last = 0;
          const std::string path = reader.GetRange(first, last);
          std::printf("range first=%s last=%s volume=%s\n", FormatDayNumber(first).c_str(),
                      FormatDayNumber(last).c_str(), path.c_str());
          break;
        }
      }
    }
    if (std::fflush(stdout) != 0) exitCode = ExitProblem;
  }
  if (now) InstallClock(nullptr);
  return exitCode;
}
