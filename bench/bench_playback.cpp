// Frames shown per second by the playback window, offscreen, on a volume of
// 704x576 frames with 16 cells visible, at speed 0 with no freeze and "1×"
// off (the free run, as fast as it goes), against
// FrameDecoder alone on the same frames in the same process. Each of five
// rounds plays the whole archive forward once and decodes the same number of
// frames alone right after; the medians are reported, the ratio as the
// median of the rounds' ratios (a round's two halves see the same machine,
// which matters where other work comes and goes).
// Last line: ratio=<shown fps / decode-only fps> shown_fps=<...> decode_fps=<...>
// Usage: bench_playback [records, default 800]

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QTemporaryDir>
#include <QToolButton>


#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "archive/OrxRead.h"
#include "archview/ArchView.h"
#include "archview/PlaybackState.h"
#include "bench/WindowBench.h"
#include "common/DateTime.h"
#include "platform/Clock.h"
#include "platform/scripted/ScriptedPlatform.h"
#include "view/CellPanel.h"

using namespace bench;
using Steady = std::chrono::steady_clock;

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int records = argc > 1 ? std::max(100, std::atoi(argv[1])) : 800;

  QTemporaryDir dir;
  ScriptedPlatform platform(dir.path());
  ScopedPlatform scoped(platform);
  const double base = MakeDateTime(2001, 1, 5, 14, 0, 0);
  FixedClock clock(base + 1.0);
  InstallClock(&clock);

  const std::vector<Bytes> frames = CameraLikeFrames(704, 576, 16);
  const QString path = dir.filePath("bench.oxa");
  if (!WriteRoundRobinVolume(path.toStdString(), 128LL * 1048576, records, frames, base)) return 2;

  VolumeList volumes{path.toStdString()};
  TOrxRead reader(volumes);
  LayoutList layouts;
  TArchView window(reader, layouts);
  window.resize(1200, 900);
  window.RealTimeBtn->setChecked(false);
  ShownCounter counter;
  for (TCellPanel* panel : window.CellPanels) panel->installEventFilter(&counter);

  std::vector<double> shownFps, decodeFps, ratios;
  for (int round = 0; round < 5; ++round) {
    counter.shown = 0;
    window.show();  // posts the automatic start; speed 0, no freeze
    const auto start = Steady::now();
    QCoreApplication::processEvents();  // the run goes to the interval end
    const double played = std::chrono::duration<double>(Steady::now() - start).count();
    window.close();
    shownFps.push_back(counter.shown / played);

    const double decoded = DecodeOnlySeconds(frames, counter.shown);
    decodeFps.push_back(counter.shown / decoded);
    ratios.push_back(decoded / played);
    std::printf("round %d: shown=%d in %.3f s, decode-only %.3f s\n", round, counter.shown,
                played, decoded);
  }
  InstallClock(nullptr);
  const double shown = Median(shownFps), decode = Median(decodeFps);
  std::printf("ratio=%.3f shown_fps=%.1f decode_fps=%.1f\n", Median(ratios), shown, decode);
  return 0;
}
