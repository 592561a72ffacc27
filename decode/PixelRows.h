#pragma once
// PixelRows: turning one decoded scanline of width pixels into a bitmap row
// of blue, green, red, 0. Every routine also works in place (source ==
// destination), for scanlines decoded straight into the bitmap.

#include <cstdint>

// One sample per pixel: sample, sample, sample, 0.
void GrayToBgr0(const std::uint8_t* source, std::uint8_t* destination, unsigned width);

// Blue, green, red, pad per pixel: the same three bytes, then 0.
void BgrxToBgr0(const std::uint8_t* source, std::uint8_t* destination, unsigned width);

// Cyan, magenta, yellow, black per pixel. Adobe's frames store the inks
// inverted (255 = no ink); others store them plainly.
void CmykToBgr0(const std::uint8_t* source, std::uint8_t* destination, unsigned width,
                bool inverted);
