// How close a camera cell's picture comes to the frame it shows: the PSNR
// of the cell scaler's picture against the exact area average of the
// full-size frame (every frame pixel weighed by how much of it the cell
// pixel covers), with the frame decoded in full as before and decoded at
// the scale the cell allows (decode/DecodeScale.h), side by side, for the
// cell sizes of 16 and 32 cameras. Frames: 704 x 576, camera-like (noise,
// blocks, gradients) and a captioned scene with sharp text.
// Lines: cell=<w>x<h> cells=<n> window=<...> scale=1/<d> psnr_full=<dB> psnr_scaled=<dB>
// Last line (16 cells, default window): psnr_full=<dB> psnr_scaled=<dB> scale=1/<d>
// Usage: bench_cell_quality

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <cstdio>
#include <vector>

#include "bench/WindowBench.h"
#include "common/FrameStream.h"
#include "decode/FrameDecoder.h"
#include "decode/FrameTarget.h"
#include "tools/JpegEncoder.h"
#include "view/CellPicture.h"
#include "view/PictureScaler.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Weights of the source pixels each of to output pixels covers, per axis.
std::vector<std::vector<std::pair<int, double>>> Coverage(int from, int to) {
  std::vector<std::vector<std::pair<int, double>>> out(static_cast<std::size_t>(to));
  const double step = double(from) / to;
  for (int d = 0; d < to; ++d) {
    const double a = d * step, b = (d + 1) * step;
    for (int s = int(a); s < from && s < b; ++s) {
      const double w = std::min(b, s + 1.0) - std::max(a, double(s));
      if (w > 0) out[std::size_t(d)].push_back({s, w / step});
    }
  }
  return out;
}

double Psnr(const QImage& full, const QImage& cell) {
  const auto cols = Coverage(full.width(), cell.width());
  const auto rows = Coverage(full.height(), cell.height());
  double squared = 0.0;
  for (int y = 0; y < cell.height(); ++y) {
    for (int x = 0; x < cell.width(); ++x) {
      double sum[3] = {0, 0, 0};
      for (const auto& [sy, wy] : rows[std::size_t(y)])
        for (const auto& [sx, wx] : cols[std::size_t(x)]) {
          const QRgb p = full.pixel(sx, sy);
          sum[0] += wx * wy * qRed(p);
          sum[1] += wx * wy * qGreen(p);
          sum[2] += wx * wy * qBlue(p);
        }
      const QRgb c = cell.pixel(x, y);
      const double e[3] = {qRed(c) - sum[0], qGreen(c) - sum[1], qBlue(c) - sum[2]};
      squared += e[0] * e[0] + e[1] * e[1] + e[2] * e[2];
    }
  }
  const double mse = squared / (3.0 * cell.width() * cell.height());
  return 10.0 * std::log10(255.0 * 255.0 / mse);
}

// A scene with sharp text and thin lines: where a shrink shows its faults.
Bytes CaptionedScene(int seed) {
  QImage image(704, 576, QImage::Format_RGB888);
  image.fill(QColor::fromHsv((seed * 47) % 360, 90, 160));
  QPainter p(&image);
  p.setPen(QPen(Qt::white, 1));
  for (int x = 0; x < 704; x += 7) p.drawLine(x, 300, x + 40, 576);
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(40);
  p.setFont(font);
  p.drawText(QRect(0, 40, 704, 200), Qt::AlignCenter, QStringLiteral("CAM %1 12:34:56").arg(seed));
  p.end();
  Bytes out;
  JpegEncoder().Encode(image.constBits(), 704, 576, 75, out);  // rows of 2112 bytes: no padding
  return out;
}

struct Cell {
  int width, height, cells;
  const char* window;
};

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  std::vector<Bytes> frames = bench::CameraLikeFrames(704, 576, 4);
  for (int seed = 1; seed <= 4; ++seed) frames.push_back(CaptionedScene(seed));
  // The cells of 16 cameras in the default window (grid 770 x 530) and in
  // a 1200 x 900 one, and of 32 in the default window and full HD.
  const Cell cells[] = {{192, 132, 16, "default"}, {262, 187, 16, "1200x900"},
                        {128, 88, 32, "default"}, {317, 171, 32, "1920x1080"}};
  FrameDecoder fullDecoder, scaledDecoder;
  CellPictureMaker maker(scaledDecoder);
  PictureScaler scaler;
  double lastFull = 0, lastScaled = 0;
  int lastScale = 1;
  for (const Cell& cell : cells) {
    double full = 0, scaled = 0;
    int scale = 1;
    for (const Bytes& frame : frames) {
      FrameStream stream;
      stream.Append(frame.data(), frame.size());
      ImageTarget target;
      if (fullDecoder.Decode(stream, target) != 1) return 2;
      const QSize size(cell.width, cell.height);
      full += Psnr(target.Bitmap(), scaler.Scale(target.Bitmap(), size));
      CellPicture picture;
      maker.Make(stream, size, 8, picture);
      if (!picture.decoded) return 3;
      scaled += Psnr(target.Bitmap(), picture.shown.isNull() ? picture.bitmap : picture.shown);
      scale = picture.scale;
    }
    full /= double(frames.size());
    scaled /= double(frames.size());
    std::printf("cell=%dx%d cells=%d window=%s scale=1/%d psnr_full=%.2f psnr_scaled=%.2f\n",
                cell.width, cell.height, cell.cells, cell.window, scale, full, scaled);
    if (&cell == &cells[0]) {
      lastFull = full;
      lastScaled = scaled;
      lastScale = scale;
    }
  }
  std::printf("psnr_full=%.2f psnr_scaled=%.2f scale=1/%d\n", lastFull, lastScaled, lastScale);
  return 0;
}
