#include "tools/TimelineCommand.h"

#include <cstdio>
#include <cstdlib>
#include <optional>

#include "archive/VolumeFolder.h"
#include "archive/VolumeOrder.h"
#include "common/CameraMask.h"
#include "common/DateTime.h"
#include "common/RecordKind.h"
#include "timeline/TimelineBuilder.h"
#include "tools/ToolArgs.h"

namespace {

// The longest gap a run may bridge: a day.
constexpr double MaxGapSeconds = 86400.0;

// Seconds as plain decimal digits with an optional fraction ("5", "2.5").
std::optional<double> ParseSeconds(const std::string& text) {
  bool point = false, digit = false;
  for (char c : text) {
    if (c >= '0' && c <= '9') digit = true;
    else if (c == '.' && !point) point = true;
    else return std::nullopt;
  }
  if (!digit) return std::nullopt;
  const double seconds = std::strtod(text.c_str(), nullptr);
  if (seconds > MaxGapSeconds) return std::nullopt;
  return seconds;
}

// As TIME arguments are written: 2026-12-07T09:00:05.040.
std::string TimeText(double time) {
  std::string text = FormatDateTimeIso(time);
  const std::size_t space = text.find(' ');
  if (space != std::string::npos) text[space] = 'T';
  return text;
}

}  // namespace

int RunTimeline(const std::vector<std::string>& args) {
  ToolArgs words(args);
  TimelineOptions options;
  std::uint32_t cameras = AllCameras, kinds = KindAll;
  VolumeList names;
  while (!words.Done()) {
    const std::string w = words.Take();
    if (w == "--from" || w == "--to" || w == "--cameras" || w == "--kinds" || w == "--gap") {
      const std::optional<std::string> v = words.TakeValue();
      if (!v) return UsageError("timeline: " + w + " needs a value");
      if (w == "--from" || w == "--to") {
        const std::optional<double> t = ParseTime(*v);
        if (!t) return UsageError("timeline: bad time '" + *v + "'");
        (w == "--from" ? options.from : options.to) = *t;
      } else if (w == "--gap") {
        const std::optional<double> s = ParseSeconds(*v);
        if (!s) return UsageError("timeline: bad gap '" + *v + "' (seconds, 0 to 86400)");
        options.gapSeconds = *s;
      } else {
        const std::optional<std::uint32_t> m = ParseMask(*v);
        if (!m) return UsageError("timeline: bad mask '" + *v + "'");
        (w == "--cameras" ? cameras : kinds) = *m;
      }
    } else if (ToolArgs::IsOption(w)) {
      return UsageError("timeline: unknown option '" + w + "'");
    } else {
      names.push_back(w);
    }
  }
  if (names.empty()) return UsageError("timeline: no volume given");
  if (options.from > options.to) return UsageError("timeline: --from lies after --to");

  // In the order the viewer lists them, as every other command reads them.
  TimelineBuilder builder(OrderByFirstRecord(WithFoldersOpened(names)), options);
  builder.ReadAll();
  if (builder.VolumesFound() == 0) {
    std::fprintf(stderr, "orxtool: timeline: none of the files is a volume\n");
    return ExitProblem;
  }
  for (const LaneRun& r : builder.Runs().Ordered(cameras, kinds)) {
    std::printf("camera=%d kind=%u from=%s to=%s records=%lld\n", r.camera + 1, r.kind,
                TimeText(r.run.first).c_str(), TimeText(r.run.last).c_str(),
                static_cast<long long>(r.run.records));
  }
  return std::fflush(stdout) == 0 ? ExitOk : ExitProblem;
}
