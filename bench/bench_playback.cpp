// Frames shown per second by the playback window, offscreen, on volumes of
// 704x576 frames, at speed 0 with no freeze and "1×" off (the free run, as
// fast as it goes), against FrameDecoder alone at full size on one thread
// over the same frames in the same process. Three cases, each its own window
// and volume:
//   - 32 cameras in the 6 x 6 grid at the default window size (the grid area
//     the default-window button gives, 770 x 530);
//   - 32 cameras in the 6 x 6 grid in full screen on a 1920 x 1080 screen;
//   - 16 cameras in the 4 x 4 grid of a 1200 x 900 window.
// Each of five rounds plays the whole archive forward once and decodes the
// same number of frames alone right after; the medians are reported, the
// ratio as the median of the rounds' ratios (a round's two halves see the
// same machine, which matters where other work comes and goes), with the
// lowest and highest round. Each round line also tells how many pictures
// came decoded ahead and how many were made on the spot, and the bytes the
// cells and the read-ahead hold.
// Lines: cells=32 size=default ratio=<...> shown_fps=<...> decode_fps=<...> ...
//        cells=32 size=1920x1080 ratio=<...> ...
// Last line (16 cells): ratio=<shown fps / decode-only fps> shown_fps=<...> decode_fps=<...>
// Usage: bench_playback [records for 16 cameras, default 800; 32 cameras get twice as many]
//                       [--threads N] [--full-size]

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QTemporaryDir>
#include <QToolButton>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

#include "archive/OrxRead.h"
#include "archview/ArchView.h"
#include "archview/FramePipeline.h"
#include "archview/PlaybackState.h"
#include "bench/WindowBench.h"
#include "common/DateTime.h"
#include "platform/Clock.h"
#include "platform/scripted/ScriptedPlatform.h"
#include "view/CellImage.h"
#include "view/CellPanel.h"

using namespace bench;
using Steady = std::chrono::steady_clock;

namespace {

struct Figures {
  double ratio = 0.0, low = 0.0, high = 0.0, shown = 0.0, decode = 0.0;
};

struct Options {
  int threads = -1;
  bool fullSize = false;
};

// Five rounds of window over its volume, arranged by arrange after every
// showing (a showing puts the grid back as the layout has it).
Figures Rounds(const char* label, TArchView& window, const std::vector<Bytes>& frames,
               const std::function<void()>& arrange) {
  ShownCounter counter;
  for (TCellPanel* panel : window.CellPanels) panel->installEventFilter(&counter);
  std::vector<double> shownFps, decodeFps, ratios;
  for (int round = 0; round < 5; ++round) {
    counter.shown = 0;
    const long long aheadBefore = window.Pictures().TakenAhead();
    const long long hereBefore = window.Pictures().MadeOnTheSpot();
    window.show();  // posts the automatic start; speed 0, no freeze
    arrange();
    const auto start = Steady::now();
    QCoreApplication::processEvents();  // the run goes to the interval end
    const double played = std::chrono::duration<double>(Steady::now() - start).count();
    std::size_t held = 0;
    for (const TCellImage* image : window.CellImages) held += image->HeldBytes();
    const std::size_t ahead = window.Pictures().HeldBytes();
    const QSize cell = window.CellImages[0]->size();
    window.close();
    shownFps.push_back(counter.shown / played);

    const double decoded = DecodeOnlySeconds(frames, counter.shown);
    decodeFps.push_back(counter.shown / decoded);
    ratios.push_back(decoded / played);
    std::printf(
        "%s round %d: shown=%d in %.3f s, decode-only %.3f s; cell %dx%d; ahead=%lld here=%lld; "
        "cells hold %.0f KiB, read-ahead %.0f KiB\n",
        label, round, counter.shown, played, decoded, cell.width(), cell.height(),
        window.Pictures().TakenAhead() - aheadBefore,
        window.Pictures().MadeOnTheSpot() - hereBefore, held / 1024.0, ahead / 1024.0);
    std::fflush(stdout);
  }
  for (TCellPanel* panel : window.CellPanels) panel->removeEventFilter(&counter);
  Figures f;
  f.ratio = Median(ratios);
  f.low = *std::min_element(ratios.begin(), ratios.end());
  f.high = *std::max_element(ratios.begin(), ratios.end());
  f.shown = Median(shownFps);
  f.decode = Median(decodeFps);
  return f;
}

// A volume of records round-robin frames (one camera per frame) in dir, a
// window over it, and its rounds.
Figures Case(const char* label, const QTemporaryDir& dir, int records,
             const std::vector<Bytes>& frames, const Options& options, QSize windowSize,
             const std::function<void(TArchView&)>& arrange) {
  const double base = MakeDateTime(2001, 1, 5, 14, 0, 0);
  std::size_t largest = 0;
  for (const Bytes& frame : frames) largest = std::max(largest, frame.size());
  const QString path = dir.filePath(QString::fromLatin1(label) + QStringLiteral(".oxa"));
  const std::int64_t size = std::int64_t(records) * std::int64_t(largest + 64) * 11 / 10 + (8 << 20);
  if (!WriteRoundRobinVolume(path.toStdString(), size, records, frames, base)) std::exit(2);

  VolumeList volumes{path.toStdString()};
  TOrxRead reader(volumes);
  LayoutList layouts;
  TArchView window(reader, layouts);
  if (options.threads >= 0) window.Pictures().SetThreads(options.threads);
  window.Pictures().SetScaled(!options.fullSize);
  window.resize(windowSize);
  window.RealTimeBtn->setChecked(false);
  const Figures f = Rounds(label, window, frames, [&] { arrange(window); });
  QFile::remove(path);
  return f;
}

void Print(const char* prefix, const Figures& f) {
  std::printf("%sratio=%.3f shown_fps=%.1f decode_fps=%.1f ratio_low=%.3f ratio_high=%.3f\n",
              prefix, f.ratio, f.shown, f.decode, f.low, f.high);
  std::fflush(stdout);
}

// An offscreen screen of 1920 x 1080, so full screen is that size.
void UseFullHdScreen(const QTemporaryDir& dir) {
  const QString config = dir.filePath(QStringLiteral("screen.json"));
  QFile file(config);
  if (!file.open(QIODevice::WriteOnly)) return;
  file.write(R"({"screens": [{"name": "bench", "x": 0, "y": 0, "width": 1920, "height": 1080,)"
             R"( "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
  file.close();
  qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).toLocal8Bit());
}

}  // namespace

int main(int argc, char** argv) {
  QTemporaryDir dir;
  // --only default|fullscreen|sixteen runs that case alone (for profiles).
  const char* only = nullptr;
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], "--only") == 0) only = argv[i + 1];
  UseFullHdScreen(dir);
  QApplication app(argc, argv);
  int records = 800;
  Options options;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--threads") == 0 && i + 1 < argc)
      options.threads = std::atoi(argv[++i]);
    else if (std::strcmp(argv[i], "--full-size") == 0)
      options.fullSize = true;
    else if (std::strcmp(argv[i], "--only") == 0)
      ++i;
    else
      records = std::max(100, std::atoi(argv[i]));
  }

  ScriptedPlatform platform(dir.path());
  ScopedPlatform scoped(platform);
  const double base = MakeDateTime(2001, 1, 5, 14, 0, 0);
  FixedClock clock(base + 1.0);
  InstallClock(&clock);

  const std::vector<Bytes> frames32 = CameraLikeFrames(704, 576, 32);
  const std::vector<Bytes> frames16(frames32.begin(), frames32.begin() + 16);
  const auto sixBySix = [](TArchView& w) {
    while (w.GridSize != 6) w.SetBtnClick();
  };
  const auto wanted = [&](const char* name) { return !only || std::strcmp(only, name) == 0; };
  if (wanted("default")) {
    const Figures atDefault =
      Case("default", dir, 2 * records, frames32, options, QSize(1000, 760), [&](TArchView& w) {
        sixBySix(w);
        w.Button43Click();
      });
    Print("cells=32 size=default ", atDefault);
  }
  if (wanted("fullscreen")) {
    const Figures fullScreen =
      Case("fullscreen", dir, 2 * records, frames32, options, QSize(1000, 760), [&](TArchView& w) {
        sixBySix(w);
        w.SizeItemClick();  // full screen: the maximised window on the 1920 x 1080 screen
      });
    Print("cells=32 size=1920x1080 ", fullScreen);
  }
  if (wanted("sixteen")) {
    const Figures sixteen =
        Case("sixteen", dir, records, frames16, options, QSize(1200, 900), [](TArchView&) {});
    std::printf("cells=16 ratio_low=%.3f ratio_high=%.3f\n", sixteen.low, sixteen.high);
    // The last line as it always was.
    std::printf("ratio=%.3f shown_fps=%.1f decode_fps=%.1f\n", sixteen.ratio, sixteen.shown,
                sixteen.decode);
  }
  InstallClock(nullptr);
  return 0;
}
