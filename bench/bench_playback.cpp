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
#include <cstring>
#include <random>
#include <vector>

#include "archive/OrxRead.h"
#include "archive/OrxWrite.h"
#include "archive/VolumeFormat.h"
#include "archview/ArchView.h"
#include "archview/PlaybackState.h"
#include "common/DateTime.h"
#include "decode/FrameDecoder.h"
#include "decode/FrameTarget.h"
#include "platform/Clock.h"
#include "platform/scripted/ScriptedPlatform.h"
#include "tools/JpegEncoder.h"
#include "view/CellPanel.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Steady = std::chrono::steady_clock;

// A camera-like picture: gradients, blocks, a moving bar and sensor noise.
Bytes Encode(int width, int height, int seed) {
  std::mt19937 rng(seed);
  std::normal_distribution<float> noise(0.0f, 6.0f);
  std::vector<std::uint8_t> rgb(std::size_t(width) * height * 3);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = rgb.data() + std::size_t(y) * width * 3;
    for (int x = 0; x < width; ++x) {
      float r = 40 + 150.0f * x / width, g = 60 + 120.0f * y / height, b = 120;
      if (((x / 48) + (y / 40) + seed) % 5 == 0) r = g = b = 215;
      if (std::abs((x - 11 * seed) % width - width / 3) < 20) { r = 30; g = 30; b = 200; }
      const float n = noise(rng);
      row[x * 3 + 0] = std::uint8_t(std::clamp(r + n, 0.0f, 255.0f));
      row[x * 3 + 1] = std::uint8_t(std::clamp(g + n, 0.0f, 255.0f));
      row[x * 3 + 2] = std::uint8_t(std::clamp(b + n, 0.0f, 255.0f));
    }
  }
  Bytes out;
  JpegEncoder().Encode(rgb.data(), width, height, 75, out);
  return out;
}

// Counts the hints the cells receive: one per frame shown.
class ShownCounter final : public QObject {
 public:
  int shown = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::ToolTipChange) ++shown;
    return false;
  }
};

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

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

  std::vector<Bytes> frames;
  for (int i = 0; i < 16; ++i) frames.push_back(Encode(704, 576, i + 1));
  const QString path = dir.filePath("bench.oxa");
  {
    const std::int64_t size = 128LL * 1048576;
    FILE* f = std::fopen(path.toLocal8Bit().constData(), "wb");
    if (!f || std::fseek(f, size - 1, SEEK_SET) != 0 || std::fputc(0, f) == EOF) return 2;
    std::fclose(f);
    TOrxWrite writer;
    if (!writer.Open(path.toStdString())) return 2;
    for (int i = 0; i < records; ++i) {
      const Bytes& frame = frames[i % 16];
      std::memcpy(ExportBuffer.data(), frame.data(), frame.size());
      if (writer.Append(i % 16, 1, base + i * 0.04 / 86400.0, std::int32_t(frame.size())) != 1)
        return 2;
    }
  }

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

    FrameDecoder decoder;
    ImageTarget target;
    FrameStream stream;
    const auto decodeStart = Steady::now();
    for (int i = 0; i < counter.shown; ++i) {
      stream.Clear();
      stream.Append(frames[i % 16].data(), frames[i % 16].size());
      decoder.Decode(stream, target);
    }
    const double decoded = std::chrono::duration<double>(Steady::now() - decodeStart).count();
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
