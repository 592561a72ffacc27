#include "tools/DemoCanvas.h"

#include <algorithm>

#include "tools/BitmapFont.h"

DemoCanvas::DemoCanvas(int width, int height)
    : width_(width), height_(height), pixels_(std::size_t(width) * height * 3) {}

void DemoCanvas::Put(int x, int y, Rgb c) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  std::uint8_t* p = &pixels_[(std::size_t(y) * width_ + x) * 3];
  p[0] = c.r;
  p[1] = c.g;
  p[2] = c.b;
}

void DemoCanvas::Background(Rgb top, Rgb bottom) {
  for (int y = 0; y < height_; ++y) {
    const int t = height_ > 1 ? y * 256 / (height_ - 1) : 0;
    auto mix = [t](int a, int b) { return std::uint8_t(a + (b - a) * t / 256); };
    const Rgb c{mix(top.r, bottom.r), mix(top.g, bottom.g), mix(top.b, bottom.b)};
    const Rgb line{std::uint8_t(c.r * 7 / 8), std::uint8_t(c.g * 7 / 8), std::uint8_t(c.b * 7 / 8)};
    for (int x = 0; x < width_; ++x) Put(x, y, (x % 32 == 0 || y % 32 == 0) ? line : c);
  }
}

void DemoCanvas::FillRect(int x, int y, int w, int h, Rgb colour) {
  const int x0 = std::max(x, 0), y0 = std::max(y, 0);
  const int x1 = std::min(x + w, width_), y1 = std::min(y + h, height_);
  for (int yy = y0; yy < y1; ++yy)
    for (int xx = x0; xx < x1; ++xx) Put(xx, yy, colour);
}

void DemoCanvas::FillCircle(int cx, int cy, int radius, Rgb colour) {
  for (int dy = -radius; dy <= radius; ++dy)
    for (int dx = -radius; dx <= radius; ++dx)
      if (dx * dx + dy * dy <= radius * radius) Put(cx + dx, cy + dy, colour);
}

void DemoCanvas::Text(int x, int y, const std::string& text, int scale, Rgb colour) {
  for (char c : text) {
    const std::uint8_t* rows = BitmapFont::Glyph(c);
    for (int gy = 0; gy < BitmapFont::GlyphHeight; ++gy)
      for (int gx = 0; gx < BitmapFont::GlyphWidth; ++gx)
        if (rows[gy] & (0x10 >> gx)) FillRect(x + gx * scale, y + gy * scale, scale, scale, colour);
    x += (BitmapFont::GlyphWidth + 1) * scale;
  }
}

void DemoCanvas::Caption(int x, int y, const std::string& text, int scale) {
  const int w = int(text.size()) * (BitmapFont::GlyphWidth + 1) * scale + scale * 2;
  FillRect(x, y, w, (BitmapFont::GlyphHeight + 2) * scale, Rgb{16, 16, 16});
  Text(x + scale * 2, y + scale, text, scale, Rgb{240, 240, 240});
}
