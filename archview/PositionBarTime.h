#pragma once
// The time that a position of the position bar (0..1000) stands for within
// the interval: the release of the thumb, a track click and the thumb's
// hint all go there.

inline double PositionBarTime(double start, double end, int position) {
  return start + position * (end - start) / 1000.0;
}
