// Real-time playback of an archive in the playback window, offscreen: with
// "1×" on and the speed bar at 0 (as every showing leaves them), how many
// seconds of archive are shown per second of wall clock, and whether every
// frame of the archive time played was shown. Two runs of N seconds each:
// the automatic start with the bar untouched, then, after the bar was moved
// away and back to 0, a run on from where the first stopped. The records are
// counted by walking the archive with a reader of its own: those of visible
// cameras whose kinds pass the filter, after the run's start up to the last
// frame shown. Every ten seconds a line tells the ratio so far.
// Last line: ratio=<archive s / wall s> archive_s=<...> wall_s=<...>
//            frames=<shown> readout=<the window's speed readout>
//            shown=<frames> records=<records in the time played>
//            shown_moved=<...> records_moved=<...> (the second run)
// With --cameras N the archive is made for the run instead: N cameras of
// 704 x 576 camera-like frames recording 25 frames a second each, as long
// as both runs need, in a temporary folder, played in the smallest grid
// that shows them all. --write-archive DIR only makes that archive in DIR
// (for looking at it in the viewer) and plays nothing; with an ARCHIVE,
// --cameras N only picks the grid for N cameras.
// Usage: bench_realtime [ARCHIVE (volumes or folders), default build/demo]
//                       [--seconds N, default 60] [--cameras N [--write-archive DIR]]

#include <QApplication>
#include <QLabel>
#include <QSlider>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "archive/OrxRead.h"
#include "archview/ArchView.h"
#include "archview/FramePipeline.h"
#include "archview/PlaybackState.h"
#include "bench/BenchFolder.h"
#include "bench/WindowBench.h"
#include "common/DateTime.h"
#include "common/CameraMask.h"
#include "main/VolumeChoice.h"
#include "platform/Clock.h"
#include "platform/scripted/ScriptedPlatform.h"
#include "view/CellPanel.h"

namespace {

// What one run played.
struct Played {
  double startTime = 0.0;
  double startSeconds = -1.0;
  int shownBefore = 0;  // the counter's value at the start
  double archive = 0.0, wall = 0.0, ratio = 0.0;
  int shown = 0;
  int records = 0;
  QString readout;
};

// Records after from (at or after it with fromIncluded: a run that starts
// on the showing's first record shows that one too) up to and including to
// (date-times) of a camera in cameras whose kinds share a bit with kinds,
// walked one by one from the archive's first record.
int RecordsPlayed(const VolumeList& volumes, double from, bool fromIncluded, double to,
                  std::uint32_t cameras, std::uint32_t kinds) {
  TOrxRead reader(volumes);
  if (!reader.Open()) return -1;
  double time = 0.0;
  if (reader.SetPosition(time, SeekDirection::Forward) < 0) return -1;
  FrameStream stream;
  int count = 0;
  for (bool first = true;; first = false) {
    // No kind wanted: the reader copies no frame bytes.
    std::uint32_t camera = 0, kind = 0;
    const bool read = first ? reader.Current(camera, kind, time, stream)
                            : reader.Next(1, camera, kind, time, stream);
    if (!read || time > to) break;
    const bool inside = time > from || (fromIncluded && time == from);
    if (inside && camera < 32 && (cameras & CameraBit(static_cast<int>(camera))) != 0 &&
        (kind & kinds) != 0)
      ++count;
  }
  return count;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QStringList names;
  double seconds = 60.0;
  int cameras = 0;
  const char* writeTo = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc)
      seconds = std::atof(argv[++i]);
    else if (std::strcmp(argv[i], "--cameras") == 0 && i + 1 < argc)
      cameras = std::clamp(std::atoi(argv[++i]), 1, 32);
    else if (std::strcmp(argv[i], "--write-archive") == 0 && i + 1 < argc)
      writeTo = argv[++i];
    else
      names << QString::fromLocal8Bit(argv[i]);
  }
  if (!(seconds > 0.0)) seconds = 60.0;
  BenchFolder made("realtime");
  // An archive named with --cameras is taken as one of that many cameras.
  if (cameras > 0 && (names.isEmpty() || writeTo)) {
    const std::string folder = writeTo ? std::string(writeTo) : made.path;
    const std::vector<bench::Bytes> frames = bench::CameraLikeFrames(704, 576, 4 * cameras);
    std::printf("writing %d cameras x 25 fps x %.0f s into %s\n", cameras, 2 * seconds + 5,
                folder.c_str());
    std::fflush(stdout);
    if (folder.empty() ||
        !bench::WriteCameraVolumes(folder, 1LL << 30, cameras, 25, 2 * seconds + 5, frames,
                                   MakeDateTime(2001, 1, 5, 14, 0, 0)))
      return 2;
    if (writeTo) return 0;
    names = QStringList{QString::fromStdString(folder)};
  }
  if (names.isEmpty()) names << QStringLiteral("build/demo");

  QTemporaryDir dir;  // the window's placement goes here, not beside the program
  ScriptedPlatform platform(dir.path());
  ScopedPlatform scoped(platform);
  VolumeList volumes = VolumesNamed(names);
  TOrxRead reader(volumes);
  LayoutList layouts;
  TArchView window(reader, layouts);
  window.resize(1000, 760);
  // The smallest grid that shows every camera made.
  while (window.GridSize * window.GridSize < cameras && window.GridSize < 6) window.SetBtnClick();
  bench::ShownCounter shown(&PlaybackTime);
  for (TCellPanel* panel : window.CellPanels) panel->installEventFilter(&shown);

  // Counted from the moment a run starts, as the window's own pacing is.
  Played runs[2];
  Played* run = &runs[0];
  QObject::connect(window.RightRun, &QToolButton::toggled, [&](bool down) {
    if (!down || run->startSeconds >= 0.0) return;
    run->startTime = PlaybackTime;
    run->startSeconds = ElapsedSeconds();
    run->shownBefore = shown.shown;
    shown.lastTime = run->startTime;
  });
  const auto measure = [&] {
    run->archive = (shown.lastTime - run->startTime) * 86400.0;
    run->wall = ElapsedSeconds() - run->startSeconds;
    run->ratio = run->wall > 0.0 ? run->archive / run->wall : 0.0;
    run->shown = shown.shown - run->shownBefore;
    run->readout = window.SpeedLabel->text();
    run->records = RecordsPlayed(volumes, run->startTime, run == &runs[0], shown.lastTime,
                                 CameraMask, KindMask);
  };
  QTimer progress;
  QObject::connect(&progress, &QTimer::timeout, [&] {
    const double wall = ElapsedSeconds() - run->startSeconds;
    const double archive = (shown.lastTime - run->startTime) * 86400.0;
    std::printf("%5.1f s: ratio %.4f, %d frames, readout %s\n", wall,
                wall > 0.0 ? archive / wall : 0.0, shown.shown - run->shownBefore,
                window.SpeedLabel->text().toUtf8().constData());
    std::fflush(stdout);
  });
  progress.setTimerType(Qt::PreciseTimer);
  progress.start(10000);
  // Ends a run after the seconds asked; a run that reached the archive's
  // end first is measured when it returns.
  QTimer stopper;
  stopper.setSingleShot(true);
  stopper.setTimerType(Qt::PreciseTimer);
  stopper.setInterval(static_cast<int>(seconds * 1000));
  QObject::connect(&stopper, &QTimer::timeout, [&] {
    measure();
    window.StopArch->click();
  });

  window.show();  // posts the automatic start
  if (!window.RealTimeBtn->isChecked()) return 2;
  stopper.start();
  QCoreApplication::processEvents();  // the run, until the stop above or the archive's end
  stopper.stop();
  if (runs[0].wall == 0.0) measure();

  run = &runs[1];
  window.SpeedBar->setValue(40);
  window.SpeedBar->setValue(0);
  stopper.start();
  window.RightRun->click();  // on from where the first run stopped
  stopper.stop();
  if (runs[1].wall == 0.0) measure();
  window.close();

  const Played& first = runs[0];
  std::printf("pictures decoded ahead %lld, on the spot %lld\n", window.Pictures().TakenAhead(),
              window.Pictures().MadeOnTheSpot());
  std::printf("second run: ratio %.4f, %d frames of %d records, readout %s\n", runs[1].ratio,
              runs[1].shown, runs[1].records, runs[1].readout.toUtf8().constData());
  std::printf(
      "ratio=%.4f archive_s=%.3f wall_s=%.3f frames=%d readout=%s shown=%d records=%d "
      "shown_moved=%d records_moved=%d\n",
      first.ratio, first.archive, first.wall, first.shown, first.readout.toUtf8().constData(),
      first.shown, first.records, runs[1].shown, runs[1].records);

  return 0;
}
