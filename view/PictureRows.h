#pragma once
// PictureRows: the row kernels of PictureScaler, on 32-bit pixels (bytes
// blue, green, red, pad). Each has a portable version and vector versions
// (SSE2, and AVX2 where the processor has it) that give the same bytes; the
// plain entry points take the fastest the processor can run.

#include <cstdint>

namespace picture_rows {

// out[x] = the 2 x 2 block at column 2x of rows a and b, averaged: rows
// first, then the two columns, each average rounded up (as pavgb does).
// a and b hold 2 * width pixels.
using HalveFn = void (*)(const std::uint8_t* a, const std::uint8_t* b, std::uint8_t* out,
                         int width);

// out = (a * (256 - w) + b * w + 128) / 256 per channel, 16 bits a channel
// (four per pixel). 0 <= w <= 256.
using BlendRowsFn = void (*)(const std::uint32_t* a, const std::uint32_t* b, int w,
                             std::uint16_t* out, int width);

// out[d] = (p * (256 - weight[d]) + q * weight[d] + 128) / 256 per channel
// for the pixels p and q at row[4 * index[d]] and one further, with the pad
// byte 255 (opaque); pairs holds 256 - weight[d] four times, then weight[d]
// four times, per d. row holds one pixel past the last index.
using BlendColumnsFn = void (*)(const std::uint16_t* row, const int* index, const int* weight,
                                const std::int16_t* pairs, std::uint32_t* out, int width);

struct Kernels {
  HalveFn halve;
  BlendRowsFn blendRows;
  BlendColumnsFn blendColumns;
};

// The portable versions, the reference for the others.
Kernels Portable();
// SSE2 (x86-64 always has it); the portable versions elsewhere.
Kernels Sse2();
// AVX2 where this build and the processor have it, else nothing (all null).
Kernels Avx2();
// The fastest of the above that the processor can run.
const Kernels& Best();

}  // namespace picture_rows
