#include "tools/DemoPainter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "common/CameraMask.h"
#include "common/DateTime.h"
#include "common/RecordKind.h"
#include "tools/BitmapFont.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// A colour of its own for each camera: hues around the circle, alternating
// dark and light so neighbouring cameras differ in brightness too.
Rgb CameraColour(int camera) {
  const double hue = std::fmod(camera * 0.381966, 1.0) * 6.0;  // golden-ratio steps
  const double value = camera % 2 == 0 ? 0.55 : 0.80;
  const double s = 0.55;
  const int sector = static_cast<int>(hue);
  const double f = hue - sector;
  const double p = value * (1 - s), q = value * (1 - s * f), t = value * (1 - s * (1 - f));
  double r, g, b;
  switch (sector % 6) {
    case 0: r = value, g = t, b = p; break;
    case 1: r = q, g = value, b = p; break;
    case 2: r = p, g = value, b = t; break;
    case 3: r = p, g = q, b = value; break;
    case 4: r = t, g = p, b = value; break;
    default: r = value, g = p, b = q; break;
  }
  return {static_cast<std::uint8_t>(r * 255), static_cast<std::uint8_t>(g * 255),
          static_cast<std::uint8_t>(b * 255)};
}

std::uint8_t Scale(std::uint8_t v, double k) {
  return static_cast<std::uint8_t>(std::clamp(v * k, 0.0, 255.0));
}

std::string KindCaption(std::uint32_t kinds) {
  std::string caption;
  const auto add = [&](std::uint32_t bit, const char* name) {
    if (kinds & bit) caption += (caption.empty() ? "" : "+") + std::string(name);
  };
  add(KindContinuous, "CONT");
  add(KindActivity, "ACT");
  add(KindMotion, "MOT");
  add(KindMotionHistory, "HIST");
  return caption;
}

}  // namespace

DemoPainter::DemoPainter() : pixels_(static_cast<std::size_t>(Width) * Height * 3) {
  backgrounds_.resize(CameraCount);
}

void DemoPainter::Background(int camera) {
  std::vector<std::uint8_t>& bg = backgrounds_[static_cast<std::size_t>(camera)];
  if (bg.empty()) {
    // A sky over a floor with a few darker "walls", all of the camera's
    // colour: a calm picture that compresses well.
    bg.resize(pixels_.size());
    const Rgb base = CameraColour(camera);
    const int horizon = Height * 5 / 8;
    for (int y = 0; y < Height; ++y) {
      for (int x = 0; x < Width; ++x) {
        double k = y < horizon ? 1.15 - 0.25 * y / horizon : 0.70 + 0.2 * (y - horizon) / (Height - horizon);
        const int wall = (x + camera * 37) % 120;
        if (y > horizon - 70 && y < horizon && wall > 20 && wall < 60) k *= 0.65;
        if (y >= horizon && ((y - horizon) % 24 == 0 || (x + camera * 11) % 44 == 0)) k *= 0.85;
        std::uint8_t* p = &bg[(static_cast<std::size_t>(y) * Width + x) * 3];
        p[0] = Scale(base.r, k);
        p[1] = Scale(base.g, k);
        p[2] = Scale(base.b, k);
      }
    }
  }
  std::memcpy(pixels_.data(), bg.data(), pixels_.size());
}

void DemoPainter::FillRect(int x, int y, int w, int h, Rgb colour) {
  const int x0 = std::max(x, 0), x1 = std::min(x + w, Width);
  const int y0 = std::max(y, 0), y1 = std::min(y + h, Height);
  for (int yy = y0; yy < y1; ++yy)
    for (int xx = x0; xx < x1; ++xx) {
      std::uint8_t* p = &pixels_[(static_cast<std::size_t>(yy) * Width + xx) * 3];
      p[0] = colour.r;
      p[1] = colour.g;
      p[2] = colour.b;
    }
}

void DemoPainter::FillDisc(int cx, int cy, int radius, Rgb colour) {
  for (int dy = -radius; dy <= radius; ++dy) {
    const int half = static_cast<int>(std::sqrt(static_cast<double>(radius * radius - dy * dy)));
    FillRect(cx - half, cy + dy, 2 * half + 1, 1, colour);
  }
}

int DemoPainter::TextWidth(int scale, const std::string& text) {
  return static_cast<int>(text.size()) * (GlyphWidth + 1) * scale;
}

void DemoPainter::Text(int x, int y, int scale, const std::string& text, Rgb colour) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::uint8_t* rows = GlyphRows(text[i]);
    const int gx = x + static_cast<int>(i) * (GlyphWidth + 1) * scale;
    for (int row = 0; row < GlyphHeight; ++row)
      for (int col = 0; col < GlyphWidth; ++col)
        if (rows[row] & (0x10 >> col)) FillRect(gx + col * scale, y + row * scale, scale, scale, colour);
  }
}

void DemoPainter::Paint(int camera, double time, std::uint32_t kinds, double phase, bool moving) {
  camera = std::clamp(camera, 0, CameraCount - 1);
  Background(camera);
  const Rgb black{0, 0, 0}, white{255, 255, 255}, yellow{255, 230, 40}, red{230, 30, 30};

  // The disc runs to and fro along the floor and bobs up and down.
  const double along = phase < 0.5 ? phase * 2 : 2 - phase * 2;
  const int radius = moving ? 26 : 18;
  const int cx = 30 + static_cast<int>(along * (Width - 60));
  const int cy = Height * 5 / 8 + 20 + static_cast<int>(18 * std::sin(phase * 8 * kPi));
  FillDisc(cx, cy, radius + 2, black);
  FillDisc(cx, cy, radius, moving ? red : yellow);

  // The camera as the viewer numbers it ("Камера № 1" is camera 0).
  char name[16];
  std::snprintf(name, sizeof name, "CAM %02d", camera + 1);
  FillRect(4, 4, TextWidth(4, name) + 8, GlyphHeight * 4 + 8, black);
  Text(8, 8, 4, name, white);

  const std::string caption = KindCaption(kinds);
  if (!caption.empty()) {
    const int w = TextWidth(2, caption);
    FillRect(Width - w - 12, 4, w + 8, GlyphHeight * 2 + 8, black);
    Text(Width - w - 8, 8, 2, caption, moving ? red : white);
  }

  const std::string stamp = FormatDateTimeIso(time);
  const int w = TextWidth(2, stamp);
  FillRect(4, Height - GlyphHeight * 2 - 12, w + 8, GlyphHeight * 2 + 8, black);
  Text(8, Height - GlyphHeight * 2 - 8, 2, stamp, white);
}
