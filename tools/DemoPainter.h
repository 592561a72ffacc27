#pragma once
// DemoPainter: draws the pictures of the demo archive into a red-green-blue
// buffer: a background of the camera's own colour, the camera number, the
// frame's date-time with milliseconds, its kind captions and a moving disc.

#include <cstdint>
#include <string>
#include <vector>

struct Rgb {
  std::uint8_t r, g, b;
};

class DemoPainter {
 public:
  static constexpr int Width = 352;
  static constexpr int Height = 288;

  DemoPainter();

  // Paints one frame. phase (0..1, wrapping) places the disc on its path;
  // moving marks a stretch of motion (the disc is drawn larger and red).
  void Paint(int camera, double time, std::uint32_t kinds, double phase, bool moving);

  const std::uint8_t* Pixels() const { return pixels_.data(); }

 private:
  void Background(int camera);
  void FillRect(int x, int y, int w, int h, Rgb colour);
  void FillDisc(int cx, int cy, int radius, Rgb colour);
  void Text(int x, int y, int scale, const std::string& text, Rgb colour);
  static int TextWidth(int scale, const std::string& text);

  std::vector<std::uint8_t> pixels_;
  std::vector<std::vector<std::uint8_t>> backgrounds_;  // one per camera, made once
};
