// Frames exported per second by the playback window's fragment export,
// offscreen, from an archive of 704x576 frames with 16 cells visible, against
// FrameDecoder alone on the same frames in the same process. The export shows
// every frame it writes, so decoding bounds it. Each of five rounds exports
// the whole archive into a fresh folder and decodes the same number of
// frames alone right after; the medians are reported, the ratio as the
// median of the rounds' ratios (a round's two halves see the same machine).
// Last line: ratio=<export fps / decode-only fps> export_fps=<...>
//            decode_fps=<...> mib_per_s=<exported frame bytes per second>
// Usage: bench_export [records, default 1200]

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QTemporaryDir>

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
  const int records = argc > 1 ? std::max(100, std::atoi(argv[1])) : 1200;

  QTemporaryDir dir;
  ScriptedPlatform platform(dir.path());
  ScopedPlatform scoped(platform);
  const double base = MakeDateTime(2001, 1, 5, 14, 0, 0);
  FixedClock clock(base + 1.0);
  InstallClock(&clock);

  const std::vector<Bytes> frames = CameraLikeFrames(704, 576, 16);
  const QString path = dir.filePath("bench.oxa");
  if (!WriteRoundRobinVolume(path.toStdString(), 256LL * 1048576, records, frames, base)) return 2;

  VolumeList volumes{path.toStdString()};
  TOrxRead reader(volumes);
  LayoutList layouts;
  TArchView window(reader, layouts);
  window.resize(1200, 900);
  ShownCounter counter;
  for (TCellPanel* panel : window.CellPanels) panel->installEventFilter(&counter);

  std::vector<double> exportFps, decodeFps, mibPerS, ratios;
  for (int round = 0; round < 5; ++round) {
    window.show();
    QCoreApplication::removePostedEvents(&window, AutoPlayMessage);
    QCoreApplication::processEvents();
    const QString out = dir.filePath(QStringLiteral("out%1").arg(round));
    QDir().mkdir(out);
    platform.typedSaveAnswers = {SaveFileAnswer{out + QStringLiteral("/OrxTom.oxa")}};
    counter.shown = 0;
    const auto start = Steady::now();
    window.SaveBitBtnClick();
    const double exported = std::chrono::duration<double>(Steady::now() - start).count();
    window.close();
    std::int64_t bytes = 0;
    for (int i = 0; i < counter.shown; ++i) bytes += std::int64_t(frames[i % 16].size());
    QDir(out).removeRecursively();
    exportFps.push_back(counter.shown / exported);
    mibPerS.push_back(double(bytes) / 1048576.0 / exported);

    const double decoded = DecodeOnlySeconds(frames, counter.shown);
    decodeFps.push_back(counter.shown / decoded);
    ratios.push_back(decoded / exported);
    std::printf("round %d: exported=%d in %.3f s, decode-only %.3f s\n", round, counter.shown,
                exported, decoded);
  }
  InstallClock(nullptr);
  const double exportRate = Median(exportFps), decode = Median(decodeFps);
  std::printf("ratio=%.3f export_fps=%.1f decode_fps=%.1f mib_per_s=%.1f\n", Median(ratios),
              exportRate, decode, Median(mibPerS));
  return 0;
}
