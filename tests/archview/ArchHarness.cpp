// A small harness for looking at the playback window by eye: it writes a demo
// archive of 704x576 frames (32 cameras, each frame naming its camera and
// time) into a temporary directory, or takes a volume path, and shows the
// window modally. --write-incidents writes a two-day archive of motion and
// activity segments with long gaps between them, for the timeline.
// Usage: archview_harness [--write-demo PATH | --volume PATH] [--grid 4|5|6] [--speed P]
//                         [--freeze-after MS] [--quit-after MS] [--no-boxes]
//        archview_harness --write-incidents DIR

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QSlider>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>


#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

#include "archive/OrxRead.h"
#include "archive/OrxWrite.h"
#include "archive/VolumeFormat.h"
#include "archview/ArchView.h"
#include "common/DateTime.h"
#include "platform/Clock.h"
#include "platform/qt/PlatformServices.h"
#include "platform/scripted/ScriptedPlatform.h"
#include "tests/archive/support/VolumeBuilder.h"
#include "tools/JpegEncoder.h"

namespace {

std::vector<std::uint8_t> EncodeImage(const QImage& source) {
  const QImage image = source.convertToFormat(QImage::Format_RGB888);
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(image.width()) * image.height() * 3);
  for (int y = 0; y < image.height(); ++y)
    std::memcpy(rgb.data() + static_cast<std::size_t>(y) * image.width() * 3,
                image.constScanLine(y), static_cast<std::size_t>(image.width()) * 3);
  std::vector<std::uint8_t> out;
  JpegEncoder().Encode(rgb.data(), image.width(), image.height(), 70, out);
  return out;
}

// A camera's picture of size: its colour, the ground, a ball at a place of
// step and the camera's name, with text below it when there is any.
QImage CameraPicture(int camera, int step, QSize size, const QString& text) {
  QImage image(size, QImage::Format_RGB32);
  const double w = size.width() / 704.0, h = size.height() / 576.0;
  QPainter p(&image);
  const QColor base = QColor::fromHsv((camera * 37) % 360, 120, 170);
  p.fillRect(image.rect(), base);
  p.fillRect(QRectF(0, 380 * h, size.width(), 196 * h), base.darker(160));
  p.setBrush(QColor(240, 230, 120));
  p.setPen(Qt::NoPen);
  p.drawEllipse(QPointF((40 + (step * 29) % 620) * w, 430 * h), 40 * h, 40 * h);
  p.setPen(Qt::white);
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(int(72 * h));
  font.setBold(true);
  p.setFont(font);
  p.drawText(QRectF(0, 60 * h, size.width(), 120 * h), Qt::AlignCenter,
             QStringLiteral("Камера %1").arg(camera + 1));
  font.setPixelSize(int(40 * h));
  p.setFont(font);
  p.drawText(QRectF(0, 200 * h, size.width(), 80 * h), Qt::AlignCenter, text);
  return image;
}

QImage DemoPicture(int camera, int step, double time) {
  return CameraPicture(camera, step, QSize(704, 576),
                       QString::fromStdString(FormatDateTimeIso(time)).mid(11, 8));
}

bool WriteDemo(const std::string& path, int steps) {
  orxtest::MakeFile(path, 256LL * 1048576);
  TOrxWrite writer;
  if (!writer.Open(path)) return false;
  const double start = MakeDateTime(2001, 1, 5, 14, 3, 0);
  for (int s = 0; s < steps; ++s) {
    for (int camera = 0; camera < 32; ++camera) {
      const double time = start + (s * 0.5 + camera * 0.01) / 86400.0;
      const auto jpeg = EncodeImage(DemoPicture(camera, s, time));
      std::memcpy(ExportBuffer.data(), jpeg.data(), jpeg.size());
      const int kind = (camera % 3 == 0) ? KindContinuous | KindMotion : KindContinuous;
      if (writer.Append(camera, kind, time, int(jpeg.size())) != 1) return false;
    }
  }
  return true;
}

// A small picture of a camera, without a time: the captions tell it.
std::vector<std::uint8_t> IncidentFrame(int camera, int step) {
  return EncodeImage(CameraPicture(camera, step * 4, QSize(320, 240), QString()));
}

struct IncidentRecord {
  double time;
  int camera;
  int kind;
};

// Two days from 7 December 2026: cameras 1 to 4 record motion in segments of
// 40 s to 6 min (a frame a second, the first ten seconds also continuous)
// with 8 min to 2 h between them; camera 5 activity, less often; camera 6 a
// continuous frame a second from 8:00 to 20:00. On the first day only
// camera 1 records from 9:00 to 9:01 and again from 9:51:12: a gap of 50:12.
std::vector<IncidentRecord> Incidents() {
  const double start = MakeDateTime(2026, 12, 7);
  const double quietFrom = start + 9.0 / 24 + 60.0 / 86400, quietTo = quietFrom + 3012.0 / 86400;
  std::mt19937 random(7);
  std::vector<IncidentRecord> records;
  const auto segment = [&](int camera, int kind, double from, int seconds) {
    for (int s = 0; s < seconds; ++s) {
      const double t = from + (s + camera * 0.037) / 86400;
      if (t >= quietFrom && t < quietTo) continue;
      records.push_back({t, camera, int(s < 10 && kind == KindMotion ? kind | KindContinuous : kind)});
    }
  };
  for (int camera = 0; camera < 5; ++camera) {
    const int kind = camera == 4 ? KindActivity : KindMotion;
    double t = start + std::uniform_int_distribution<int>(0, 3600)(random) / 86400.0;
    while (t < start + 2.0) {
      const int seconds = std::uniform_int_distribution<int>(40, 360)(random);
      segment(camera, kind, t, seconds);
      const int gap = std::uniform_int_distribution<int>(480, camera == 4 ? 14400 : 7200)(random);
      t += (seconds + gap) / 86400.0;
    }
  }
  for (int day = 0; day < 2; ++day)
    for (int s = 8 * 3600; s < 20 * 3600; ++s)
      records.push_back({start + day + (s + 0.2) / 86400, 5, KindContinuous});
  records.erase(std::remove_if(records.begin(), records.end(),
                               [&](const IncidentRecord& r) {
                                 return r.time >= start + 9.0 / 24 && r.time < quietTo &&
                                        r.camera != 0;
                               }),
                records.end());
  segment(0, KindMotion, start + 9.0 / 24, 60);
  segment(0, KindMotion, quietTo, 120);
  std::sort(records.begin(), records.end(),
            [](const IncidentRecord& a, const IncidentRecord& b) { return a.time < b.time; });
  return records;
}

// Writes the incidents into volumes of 64 MB in dir.
bool WriteIncidents(const QString& dir) {
  std::vector<std::vector<std::uint8_t>> frames;
  for (int camera = 0; camera < 6; ++camera)
    for (int step = 0; step < 6; ++step) frames.push_back(IncidentFrame(camera, step));
  TOrxWrite writer;
  int volume = 0;
  const auto next = [&] {
    const std::string path =
        dir.toStdString() + "/vol-" + std::to_string(++volume) + ".oxa";
    orxtest::MakeFile(path, 64LL * 1048576);
    return writer.Open(path);
  };
  if (!next()) return false;
  int step = 0;
  for (const IncidentRecord& r : Incidents()) {
    const auto& jpeg = frames[std::size_t(r.camera * 6 + step++ % 6)];
    std::memcpy(ExportBuffer.data(), jpeg.data(), jpeg.size());
    int appended = writer.Append(r.camera, r.kind, r.time, int(jpeg.size()));
    if (appended == 0) {
      if (!next()) return false;
      appended = writer.Append(r.camera, r.kind, r.time, int(jpeg.size()));
    }
    if (appended != 1) return false;
  }
  return true;
}

int Option(const QStringList& args, const QString& name, int fallback) {
  const int i = args.indexOf(name);
  return (i >= 0 && i + 1 < args.size()) ? args[i + 1].toInt() : fallback;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QStringList args = app.arguments();
  QTemporaryDir dir;
  VolumeList volumes;
  // --write-demo PATH only writes the demo volume there.
  const int w = args.indexOf(QStringLiteral("--write-demo"));
  if (w >= 0 && w + 1 < args.size()) return WriteDemo(args[w + 1].toStdString(), 40) ? 0 : 2;
  const int incidents = args.indexOf(QStringLiteral("--write-incidents"));
  if (incidents >= 0 && incidents + 1 < args.size())
    return WriteIncidents(args[incidents + 1]) ? 0 : 2;
  const int v = args.indexOf(QStringLiteral("--volume"));
  if (v >= 0 && v + 1 < args.size()) {
    volumes.push_back(args[v + 1].toStdString());
  } else {
    const std::string path = dir.filePath(QStringLiteral("demo.oxa")).toStdString();
    if (!WriteDemo(path, 40)) return 2;
    volumes.push_back(path);
  }
  const FixedClock clock(MakeDateTime(2001, 1, 6, 12, 0, 0));
  InstallClock(&clock);
  // --no-boxes answers message boxes unseen (a screenshot of the window
  // behind them).
  QtPlatformServices services;
  services.SetConfigDirectory(dir.path());
  ScriptedPlatform scripted(dir.path());
  if (args.contains(QStringLiteral("--no-boxes")))
    InstallPlatform(&scripted);
  else
    InstallPlatform(&services);

  TOrxRead reader(volumes);
  LayoutList layouts;
  {
    // The window writes its placement at destruction, through the seams above.
    TArchView window(reader, layouts);
    window.resize(1200, 860);
    const int grid = Option(args, QStringLiteral("--grid"), 4);
    for (int size = 4; size < grid; ++size) window.SetBtnClick();
    const int speed = Option(args, QStringLiteral("--speed"), -10);
    const int freezeAfter = Option(args, QStringLiteral("--freeze-after"), -1);
    const int quitAfter = Option(args, QStringLiteral("--quit-after"), 20000);
    QTimer::singleShot(50, &window, [&] { window.SpeedBar->setValue(speed); });
    if (freezeAfter >= 0) QTimer::singleShot(freezeAfter, &window, [&] { window.StopBtn->click(); });
    QTimer::singleShot(quitAfter, &window, [&] { window.ExitBtnClick(); });
    window.exec();
  }
  InstallPlatform(nullptr);
  InstallClock(nullptr);
  return 0;
}
