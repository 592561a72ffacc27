// Cost of painting one decoded 704x576 frame stretched into a camera cell,
// with Qt's fast (nearest) and smooth (bilinear) transformation, for the cell
// sizes of a 16-, 25- and 36-cell grid in the default window (770x530 grid
// area) and in full screen (1600x950). Painting goes into a QImage the size
// of the cell, which is what the raster backing store does.
// Last line: fast_us_16=<...> smooth_us_16=<...> ... (microseconds per paint)
// Usage: bench_cell_paint [paints per measurement, default 300]

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

QImage Frame() {
  QImage image(704, 576, QImage::Format_RGB32);
  for (int y = 0; y < image.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x)
      row[x] = qRgb((x * 255) / 704, (y * 255) / 576, ((x ^ y) & 0xFF));
  }
  return image;
}

double PaintMicroseconds(const QImage& frame, QSize cell, bool smooth, int paints) {
  QImage target(cell, QImage::Format_RGB32);
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < paints; ++i) {
    QPainter painter(&target);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
    painter.drawImage(QRect(QPoint(0, 0), cell), frame);
  }
  const std::chrono::duration<double, std::micro> spent =
      std::chrono::steady_clock::now() - start;
  return spent.count() / paints;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const int paints = argc > 1 ? std::max(10, std::atoi(argv[1])) : 300;
  const QImage frame = Frame();
  std::string last;
  for (const auto& [name, area] : {std::pair{"window", QSize(770, 530)},
                                   std::pair{"fullscreen", QSize(1600, 950)}}) {
    for (int grid : {4, 5, 6}) {
      const QSize cell(area.width() / grid, area.height() / grid);
      const double fast = PaintMicroseconds(frame, cell, false, paints);
      const double smooth = PaintMicroseconds(frame, cell, true, paints);
      std::printf("%s grid=%d cell=%dx%d fast_us=%.1f smooth_us=%.1f\n", name,
                  grid * grid, cell.width(), cell.height(), fast, smooth);
      if (std::string(name) == "fullscreen") {
        char pair[96];
        std::snprintf(pair, sizeof pair, "%sfast_us_%d=%.1f smooth_us_%d=%.1f",
                      last.empty() ? "" : " ", grid * grid, fast, grid * grid, smooth);
        last += pair;
      }
    }
  }
  std::printf("%s\n", last.c_str());
  return 0;
}
