// Cost and quality of bringing one decoded 704x576 frame into a camera cell,
// for the cell sizes of a 16-, 25- and 36-cell grid in the default window
// (770x530 grid area) and in full screen (1600x950):
//   fast:   QPainter::drawImage stretched, nearest pixel;
//   smooth: the same with SmoothPixmapTransform (bilinear; Qt splits it over
//           its thread pool and waits);
//   cell:   PictureScaler's copy at the cell's size, then drawn 1:1, as the
//           cell picture control does (here all from the finished bitmap;
//           in playback the halving is done as the frame's rows arrive).
// Painting goes into a QImage the size of the cell, which is what the raster
// backing store does. Quality is the PSNR (dB) against an area-average
// shrink of the same frame (QImage::scaled, smooth): higher is closer. The
// frame is camera-like: gradients, text, a fine fence, sensor noise.
// Last line: <path>_us_<cells>=... and <path>_db_<cells>=... in full screen.
// Usage: bench_cell_paint [paints per measurement, default 300]

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>

#include "view/PictureScaler.h"

namespace {

QImage Frame() {
  QImage image(704, 576, QImage::Format_RGB32);
  std::mt19937 rng(1);
  std::normal_distribution<float> noise(0.0f, 6.0f);
  for (int y = 0; y < image.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const float n = noise(rng);
      auto c = [n](float v) { return int(std::fmin(255.0f, std::fmax(0.0f, v + n))); };
      row[x] = qRgb(c(40 + 150.0f * x / 704), c(60 + 120.0f * y / 576), c(120));
    }
  }
  QPainter p(&image);
  p.setPen(QPen(Qt::yellow, 1));
  for (int x = 400; x < 700; x += 5) p.drawLine(x, 380, x + 30, 570);
  p.setPen(Qt::white);
  p.setFont(QFont(QStringLiteral("DejaVu Sans"), 14, QFont::Bold));
  p.drawText(12, 30, QStringLiteral("CAM 07   05.01.2001 14:03:07"));
  p.end();
  // As decoded: 0 in the fourth byte.
  for (int y = 0; y < image.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) row[x] &= 0x00FFFFFFu;
  }
  return image;
}

double Psnr(const QImage& a, const QImage& b) {
  double sum = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      for (int d : {qRed(p) - qRed(q), qGreen(p) - qGreen(q), qBlue(p) - qBlue(q)}) sum += d * d;
    }
  return 10 * std::log10(255.0 * 255.0 / (sum / (3.0 * a.width() * a.height())));
}

// Microseconds per paint of the frame into target; the last paint stays in
// target.
double Microseconds(QImage& target, int paints, const std::function<void(QPainter&)>& paint) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < paints; ++i) {
    QPainter painter(&target);
    paint(painter);
  }
  const std::chrono::duration<double, std::micro> spent = std::chrono::steady_clock::now() - start;
  return spent.count() / paints;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const int paints = argc > 1 ? std::max(10, std::atoi(argv[1])) : 300;
  QImage frame = Frame();
  std::string last;
  for (const auto& [name, area] : {std::pair{"window", QSize(770, 530)},
                                   std::pair{"fullscreen", QSize(1600, 950)}}) {
    for (int grid : {4, 5, 6}) {
      const QSize cell(area.width() / grid, area.height() / grid);
      const QRect rect(QPoint(0, 0), cell);
      const QImage reference = frame.scaled(cell, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
      QImage target(cell, QImage::Format_RGB32);
      const double fast = Microseconds(target, paints, [&](QPainter& p) { p.drawImage(rect, frame); });
      const double fastDb = Psnr(target, reference);
      const double smooth = Microseconds(target, paints, [&](QPainter& p) {
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(rect, frame);
      });
      const double smoothDb = Psnr(target, reference);
      PictureScaler scaler;
      const double ours = Microseconds(target, paints, [&](QPainter& p) {
        frame.bits();  // a new frame each time: nothing is kept from the last
        p.drawImage(rect, scaler.Scale(std::as_const(frame), cell));
      });
      const double oursDb = Psnr(target, reference);
      std::printf("%s grid=%d cell=%dx%d fast_us=%.1f smooth_us=%.1f cell_us=%.1f "
                  "fast_db=%.1f smooth_db=%.1f cell_db=%.1f\n",
                  name, grid * grid, cell.width(), cell.height(), fast, smooth, ours, fastDb,
                  smoothDb, oursDb);
      if (std::string(name) == "fullscreen") {
        char pair[160];
        std::snprintf(pair, sizeof pair,
                      "%sfast_us_%d=%.1f smooth_us_%d=%.1f cell_us_%d=%.1f smooth_db_%d=%.1f "
                      "cell_db_%d=%.1f",
                      last.empty() ? "" : " ", grid * grid, fast, grid * grid, smooth, grid * grid,
                      ours, grid * grid, smoothDb, grid * grid, oursDb);
        last += pair;
      }
    }
  }
  std::printf("%s\n", last.c_str());
  return 0;
}
