#include "tools/ExportCommand.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>

#include "archive/OrxRead.h"
#include "archive/VolumeFolder.h"
#include "archive/VolumeOrder.h"
#include "common/CameraMask.h"
#include "common/RecordKind.h"
#include "export/ChecksumManifest.h"
#include "export/ExportHandover.h"
#include "export/ExportNames.h"
#include "export/ExportReport.h"
#include "export/ExportWalk.h"
#include "export/Libav.h"
#include "platform/Clock.h"
#include "tools/ExportProgress.h"
#include "tools/InterruptCatcher.h"
#include "tools/ToolArgs.h"

namespace {

struct ExportOptions {
  std::optional<double> from, to, now;
  std::uint32_t cameras = AllCameras;
  std::uint32_t kinds = KindAll;
  bool video = false;
  std::string out = ".";
  bool quiet = false;
  VolumeList volumes;
};

// Empty when the words are sound; otherwise the usage message.
std::string ParseOptions(const std::vector<std::string>& args, ExportOptions& o) {
  ToolArgs words(args);
  while (!words.Done()) {
    const std::string w = words.Take();
    if (w == "--quiet") {
      o.quiet = true;
    } else if (w == "--from" || w == "--to" || w == "--now" || w == "--cameras" || w == "--kinds" ||
               w == "--format" || w == "--out") {
      const std::optional<std::string> v = words.TakeValue();
      if (!v) return w + " needs a value";
      if (w == "--from" || w == "--to" || w == "--now") {
        const std::optional<double> t = ParseTime(*v);
        if (!t) return "bad time '" + *v + "'";
        (w == "--from" ? o.from : w == "--to" ? o.to : o.now) = t;
      } else if (w == "--cameras" || w == "--kinds") {
        const std::optional<std::uint32_t> m = ParseMask(*v);
        if (!m) return "bad mask '" + *v + "'";
        (w == "--cameras" ? o.cameras : o.kinds) = *m;
      } else if (w == "--format") {
        if (*v != "oxa" && *v != "mkv") return "format must be oxa or mkv, not '" + *v + "'";
        o.video = *v == "mkv";
      } else {
        if (v->empty()) return "--out needs a folder";
        o.out = *v;
      }
    } else if (ToolArgs::IsOption(w)) {
      return "unknown option '" + w + "'";
    } else {
      o.volumes.push_back(w);
    }
  }
  if (!o.from || !o.to) return "--from and --to are both needed";
  if (*o.from > *o.to) return "--from lies after --to";
  if (o.volumes.empty()) return "no volume given";
  return std::string();
}

// The selection with the command line's settings, handing its frames on
// and counting them.
class CommandLineExport final : public ExportSource, public ExportFront {
 public:
  CommandLineExport(TOrxRead& reader, const ExportOptions& o, ExportProgress& progress,
                    const InterruptCatcher& interrupt)
      : walk_(reader, time_, stream_), options_(o), progress_(progress), interrupt_(interrupt) {
    walk_.Start(*o.from);
  }
  const FrameStream& Stream() const { return stream_; }

  Step Next(std::uint32_t& camera, std::uint32_t& kinds, double& time) override {
    if (walk_.Step(*this) != WalkStep::Selected) return Step::End;
    camera = walk_.Camera();
    kinds = walk_.Kinds();
    time = time_;
    return Step::Frame;
  }
  bool Taken() override {
    progress_.Frame(stream_.Size(), time_);
    return true;
  }
  bool Interrupted() const override { return interrupt_.Caught(); }

  bool StopRequested() const override { return interrupt_.Caught(); }
  std::uint32_t CameraMask() const override { return options_.cameras; }
  std::uint32_t KindMask() const override { return options_.kinds; }
  double IntervalEnd() const override { return *options_.to; }
  void Unreadable(double) override { ++unreadable_; }
  std::int64_t FramesUnreadable() const override { return unreadable_; }

 private:
  std::int64_t unreadable_ = 0;
  double time_ = 0.0;
  FrameStream stream_;
  ExportWalk walk_;
  const ExportOptions& options_;
  ExportProgress& progress_;
  const InterruptCatcher& interrupt_;
};

int Fail(const std::string& message) {
  std::fprintf(stderr, "orxtool: export: %s\n", message.c_str());
  return ExitProblem;
}

// Makes DIR if needed, then the export's own folder in it, which must be new:
// a manifest covers one export only.
std::string MakeFolder(const std::string& out, double stamp, std::string& error) {
  std::error_code ec;
  std::filesystem::create_directories(out, ec);
  const std::string folder = out + "/" + ExportFolderName(stamp);
  if (::mkdir(folder.c_str(), 0777) == 0) return folder;
  error = "cannot make folder " + folder + ": " + std::strerror(errno);
  return std::string();
}

}  // namespace

int RunExportCommand(const std::vector<std::string>& args) {
  ExportOptions o;
  const std::string misuse = ParseOptions(args, o);
  if (!misuse.empty()) return UsageError("export: " + misuse);

  FixedClock fixed(o.now.value_or(0.0));
  struct ClockScope {
    explicit ClockScope(const Clock* clock) {
      if (clock) InstallClock(clock);
    }
    ~ClockScope() { InstallClock(nullptr); }
  } clockScope(o.now ? &fixed : nullptr);

  // In the order the viewer lists them, so both pick the same volume where
  // two start at the same time.
  const VolumeList volumes = OrderByFirstRecord(WithFoldersOpened(o.volumes));
  TOrxRead reader(volumes);
  if (!reader.Open()) return Fail("none of the files is a volume");
  std::string why;
  if (o.video && !Libav(&why)) return Fail("--format mkv needs FFmpeg's libavformat: " + why);
  std::string error;
  const double stamp = PresentTime();
  const std::string folder = MakeFolder(o.out, stamp, error);
  if (folder.empty()) return Fail(error);

  ExportRequest request;
  request.format = o.video ? ExportFormat::Video : ExportFormat::Volumes;
  request.folder = folder;
  request.from = *o.from;
  request.to = *o.to;
  request.cameras = o.cameras;
  request.kinds = o.kinds;
  request.madeAt = stamp;
  request.frontEnd = "orxtool";
  ExportProgress progress(o.quiet, *o.from, *o.to);
  const InterruptCatcher interrupt;
  CommandLineExport source(reader, o, progress, interrupt);
  const ExportSummary summary = RunExportHandover(source, source.Stream(), request);
  progress.Finish();

  const std::size_t files = summary.files.size();
  std::printf("%s\n", folder.c_str());
  std::printf("exported %lld frames (%lld bytes of frames) into %zu %s in %.2f s\n",
              static_cast<long long>(summary.frames), static_cast<long long>(summary.frameBytes),
              files,
              o.video ? (files == 1 ? "file" : "files") : (files == 1 ? "volume" : "volumes"),
              progress.Seconds());
  int code = ExitOk;
  if (summary.state == ExportState::Failed)
    code = Fail(std::string("stopped: ") +
                (o.video ? "a video file could not be made or written"
                         : "a volume could not be made, reserved or written") +
                " in " + folder);
  if (summary.framesLeftOut > 0)
    code = Fail(std::to_string(summary.framesLeftOut) +
                " frames left out: no picture size in their JPEG header, and their camera "
                "had no video file yet");
  if (summary.framesUnreadable > 0)
    code = Fail(std::to_string(summary.framesUnreadable) +
                " frames left out: the volumes refuse their length or place (see orxtool verify)");
  if (interrupt.Caught())
    code = Fail("interrupted: " + folder + " holds the frames exported until then, and " +
                ManifestName + " covers them");
  if (!summary.reported) code = Fail("cannot write " + folder + "/" + ReportName);
  if (!summary.listed) code = Fail("cannot write " + folder + "/" + ManifestName);
  if (std::fflush(stdout) != 0) code = ExitProblem;
  return code;
}
