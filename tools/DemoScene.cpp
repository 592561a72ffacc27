#include "tools/DemoScene.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "common/DateTime.h"
#include "common/RecordKind.h"

namespace {

struct MotionStretch {
  int camera, from, to;  // seconds
};
// Motion on three cameras, each followed by ten seconds of motion history.
constexpr MotionStretch kMotion[] = {{1, 30, 90}, {4, 120, 200}, {6, 240, 300}, {1, 320, 340}};
constexpr int kHistorySeconds = 10;
constexpr int kActivityCamera = 3;

const MotionStretch* MotionAt(int camera, std::int64_t ms) {
  for (const MotionStretch& m : kMotion)
    if (m.camera == camera && ms >= m.from * 1000 && ms < m.to * 1000) return &m;
  return nullptr;
}

constexpr Rgb kTop[DemoScene::Cameras] = {{40, 70, 120}, {30, 110, 60},  {120, 60, 40},
                                          {90, 40, 110}, {20, 100, 110}, {110, 100, 30},
                                          {70, 70, 70},  {120, 40, 80}};

std::string KindText(std::int32_t kind) {
  std::string text;
  const char* names[] = {"CONT", "ACT", "MOT", "HIST"};
  for (int bit = 0; bit < 4; ++bit)
    if (kind & (1 << bit)) text += (text.empty() ? "" : "+") + std::string(names[bit]);
  return text;
}

}  // namespace

std::vector<DemoRecord> DemoScene::Schedule() const {
  std::vector<DemoRecord> records;
  for (int camera = 0; camera < Cameras; ++camera) {
    const std::int64_t skew = camera * 37;  // cameras never tick together
    for (int s = 0; s < Seconds; ++s) {
      const std::int64_t base = std::int64_t(s) * 1000 + skew;
      const MotionStretch* motion = MotionAt(camera, base);
      std::int32_t kind = KindContinuous;
      if (camera == kActivityCamera && s >= 60 && s < 90) kind |= KindActivity;
      if (motion) kind |= KindMotion;
      records.push_back({camera, kind, base, motion != nullptr});
      if (motion) {
        for (int q = 1; q < 4; ++q)
          records.push_back({camera, std::int32_t(KindMotion), base + q * 250, true});
      }
      for (const MotionStretch& m : kMotion) {
        if (m.camera != camera || s < m.to || s >= m.to + kHistorySeconds) continue;
        const std::int32_t history =
            s == m.to ? std::int32_t(KindMotion | KindMotionHistory) : std::int32_t(KindMotionHistory);
        records.push_back({camera, history, base + 500, false});
      }
      if (camera == kActivityCamera && s % 10 == 5)
        records.push_back({camera, std::int32_t(KindActivity), base + 600, false});
    }
  }
  std::sort(records.begin(), records.end(), [](const DemoRecord& a, const DemoRecord& b) {
    return a.ms != b.ms ? a.ms < b.ms : a.camera < b.camera;
  });
  return records;
}

void DemoScene::Render(const DemoRecord& r, DemoCanvas& canvas) const {
  const Rgb top = kTop[r.camera % Cameras];
  canvas.Background(top, Rgb{std::uint8_t(top.r / 3), std::uint8_t(top.g / 3),
                             std::uint8_t(top.b / 3)});
  // The object runs round an ellipse; four times as fast in motion.
  const double seconds = double(r.ms) / 1000.0;
  const double speed = r.motion ? 4.0 : 1.0;
  const double turn = seconds * speed * 0.05 + r.camera * 0.125;
  const double angle = (turn - static_cast<long long>(turn)) * 6.283185307179586;
  const int cx = canvas.Width() / 2 + int(120.0 * std::cos(angle));
  const int cy = canvas.Height() / 2 + 20 + int(70.0 * std::sin(angle));
  canvas.FillCircle(cx, cy, 22, r.motion ? Rgb{240, 60, 40} : Rgb{240, 220, 80});

  char label[16];
  // Labelled as the viewer numbers its cells: stored camera 0 is camera 1.
  std::snprintf(label, sizeof label, "CAM %02d", r.camera + 1);
  canvas.Caption(8, 8, label, 3);
  canvas.Caption(8, canvas.Height() - 26, FormatDateTimeIso(TimeOf(r)), 2);
  canvas.Caption(8, 44, KindText(r.kind), 2);
}
