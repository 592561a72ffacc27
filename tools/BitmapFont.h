#pragma once
// BitmapFont: a 5 x 7 pixel font for the demo frames' captions: digits and
// the few characters of dates, times and camera labels.

#include <cstdint>

class BitmapFont {
 public:
  static constexpr int GlyphWidth = 5;
  static constexpr int GlyphHeight = 7;

  // The rows of a character's glyph, top first; bit 4 is the leftmost pixel.
  // Characters the font lacks come back blank.
  static const std::uint8_t* Glyph(char c);
};
