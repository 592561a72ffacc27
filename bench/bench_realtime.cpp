// Real-time playback of an archive in the playback window, offscreen: with
// "1×" on and the speed bar at 0 (as every showing leaves them), how many
// seconds of archive are shown per second of wall clock. The run starts by
// itself as in the program; every ten seconds a line tells the ratio so far.
// Last line: ratio=<archive s / wall s> archive_s=<...> wall_s=<...>
//            frames=<shown> readout=<the window's speed readout>
// Usage: bench_realtime [ARCHIVE (volumes or folders), default build/demo]
//                       [--seconds N, default 60]

#include <QApplication>
#include <QLabel>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "archive/OrxRead.h"
#include "archview/ArchView.h"
#include "archview/PlaybackState.h"
#include "bench/WindowBench.h"
#include "main/VolumeChoice.h"
#include "platform/Clock.h"
#include "platform/scripted/ScriptedPlatform.h"
#include "view/CellPanel.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QStringList names;
  double seconds = 60.0;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc)
      seconds = std::atof(argv[++i]);
    else
      names << QString::fromLocal8Bit(argv[i]);
  }
  if (names.isEmpty()) names << QStringLiteral("build/demo");
  if (!(seconds > 0.0)) seconds = 60.0;

  QTemporaryDir dir;  // the window's placement goes here, not beside the program
  ScriptedPlatform platform(dir.path());
  ScopedPlatform scoped(platform);
  VolumeList volumes = VolumesNamed(names);
  TOrxRead reader(volumes);
  LayoutList layouts;
  TArchView window(reader, layouts);
  window.resize(1000, 760);
  bench::ShownCounter shown(&PlaybackTime);
  for (TCellPanel* panel : window.CellPanels) panel->installEventFilter(&shown);

  // Counted from the moment the run starts, as the window's own pacing is.
  double startTime = 0.0;
  double startSeconds = -1.0;
  QObject::connect(window.RightRun, &QToolButton::toggled, [&](bool down) {
    if (!down || startSeconds >= 0.0) return;
    startTime = PlaybackTime;
    startSeconds = ElapsedSeconds();
    shown.lastTime = startTime;
  });
  window.show();  // posts the automatic start
  if (!window.RealTimeBtn->isChecked()) return 2;
  const auto ratio = [&](double* archive, double* wall) {
    *archive = (shown.lastTime - startTime) * 86400.0;
    *wall = ElapsedSeconds() - startSeconds;
    return *wall > 0.0 ? *archive / *wall : 0.0;
  };
  QTimer progress;
  QObject::connect(&progress, &QTimer::timeout, [&] {
    double archive = 0.0, wall = 0.0;
    const double r = ratio(&archive, &wall);
    std::printf("%5.1f s: ratio %.4f, %d frames, readout %s\n", wall, r, shown.shown,
                window.SpeedLabel->text().toUtf8().constData());
    std::fflush(stdout);
  });
  progress.setTimerType(Qt::PreciseTimer);
  progress.start(10000);
  double archive = 0.0, wall = 0.0, result = 0.0;
  QString readout;
  QTimer::singleShot(static_cast<int>(seconds * 1000), Qt::PreciseTimer, &window, [&] {
    result = ratio(&archive, &wall);
    readout = window.SpeedLabel->text();
    window.StopArch->click();
  });
  QCoreApplication::processEvents();  // the run, until the stop above or the archive's end
  if (wall == 0.0) {
    result = ratio(&archive, &wall);
    readout = window.SpeedLabel->text();
  }
  window.close();
  std::printf("ratio=%.4f archive_s=%.3f wall_s=%.3f frames=%d readout=%s\n", result, archive,
              wall, shown.shown, readout.toUtf8().constData());
  return 0;
}
