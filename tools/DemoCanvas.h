#pragma once
// DemoCanvas: a red-green-blue pixel buffer with the few drawing operations
// the demo frames need. Drawing is clipped to the canvas.

#include <cstdint>
#include <string>
#include <vector>

struct Rgb {
  std::uint8_t r, g, b;
};

class DemoCanvas {
 public:
  DemoCanvas(int width, int height);

  int Width() const { return width_; }
  int Height() const { return height_; }
  const std::uint8_t* Pixels() const { return pixels_.data(); }

  // A vertical gradient from top to bottom, with a faint grid so the frames
  // carry some detail, as a camera's do.
  void Background(Rgb top, Rgb bottom);
  void FillRect(int x, int y, int w, int h, Rgb colour);
  void FillCircle(int cx, int cy, int radius, Rgb colour);
  // Text in BitmapFont, each font pixel drawn as scale x scale.
  void Text(int x, int y, const std::string& text, int scale, Rgb colour);
  // Text on a dark box, for captions that must read on any background.
  void Caption(int x, int y, const std::string& text, int scale);

 private:
  void Put(int x, int y, Rgb colour);

  int width_, height_;
  std::vector<std::uint8_t> pixels_;
};
