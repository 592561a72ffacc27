#pragma once
// The speed bar at real time: which multiple of real time each position of
// the bar asks for. 0 is ×1; the right half doubles the multiple every sixth
// of its length up to ×64 at its end, the left half halves it every quarter
// down to ×1/16. The positions of the whole doublings (×1/16 … ×64) are the
// bar's marks: a drag of the thumb snaps to a mark near it, a page step goes
// to the next one, and they are drawn as ticks. Between marks the multiple
// grows evenly in doublings.

#include <QString>

#include <array>

// The marks' positions, left to right; the multiple at mark i is
// 2^(i - 4), so ×1/16 at -100, ×1 at 0 and ×64 at 100.
inline constexpr std::array<int, 11> SpeedMarks = {-100, -75, -50, -25, 0, 17,
                                                   33,   50,  67,  83,  100};

// A drag of the thumb that ends this close to a mark (in bar positions)
// lands on it.
inline constexpr int SpeedSnapReach = 4;

// The multiple of real time at a bar position (clamped to -100 … 100).
double MultipleAt(int position);
// The bar position whose multiple lies nearest to multiple, in doublings.
int PositionOf(double multiple);
// The mark within SpeedSnapReach of position, or position itself.
int SnappedPosition(int position);
// The first mark beyond position towards the right (up) or the left; the
// bar's end when there is none.
int NextMark(int position, bool up);
// "×4", "×1/4" at the marks; "×2.6", "×0.35", "×12" between them.
QString MultipleText(double multiple);
