#pragma once
// PixelRows: turning one decoded scanline of width pixels into a bitmap row
// of blue, green, red, 0. Every routine also works in place (source ==
// destination), for scanlines decoded straight into the bitmap.

#include <cstdint>

// One sample per pixel: sample, sample, sample, 0.
void GrayToBgr0(const std::uint8_t* source, std::uint8_t* destination, unsigned width);

// Blue, green, red, pad per pixel: the same three bytes, then 0.
void BgrxToBgr0(const std::uint8_t* source, std::uint8_t* destination, unsigned width);

// The same, written past the processor's cache, for a bitmap that is one of
// many and long out of the cache: a plain store would first fetch each line
// from memory. REQUIRES: source != destination; FinishStreaming before the
// rows are read on another thread.
void BgrxToBgr0Streaming(const std::uint8_t* source, std::uint8_t* destination, unsigned width);

// Orders the streaming stores made so far before the stores that follow.
void FinishStreaming();

// Cyan, magenta, yellow, black per pixel. Adobe's frames store the inks
// inverted (255 = no ink); others store them plainly.
void CmykToBgr0(const std::uint8_t* source, std::uint8_t* destination, unsigned width,
                bool inverted);
