#pragma once
// DecodeScale: how small libjpeg decodes a frame that is shown smaller than
// it is. libjpeg scales in its inverse transform by 1/2, 1/4 or 1/8 at
// little cost beyond the entropy decoding; the cell's scaler takes the
// picture from there to the cell's exact size. A scale is chosen only while
// its picture still covers the size shown in both directions, so the scaler
// only ever shrinks what the transform left.

// The denominators, largest first; 1 is the full size.
inline constexpr int kDecodeScales[] = {8, 4, 2, 1};

// A side of side pixels decoded at 1/denominator, rounded up as libjpeg
// rounds it.
constexpr int ScaledSide(int side, int denominator) {
  return (side + denominator - 1) / denominator;
}

// The largest denominator whose picture of a width x height frame still
// covers shownWidth x shownHeight; 1 when the shown size is unknown (0 or
// less) or larger than half the frame either way.
constexpr int DecodeScaleFor(int width, int height, int shownWidth, int shownHeight) {
  if (shownWidth <= 0 || shownHeight <= 0) return 1;
  for (const int denominator : kDecodeScales)
    if (ScaledSide(width, denominator) >= shownWidth &&
        ScaledSide(height, denominator) >= shownHeight)
      return denominator;
  return 1;
}
