#pragma once
// The interval pickers sized for the longest date and time of the regional
// formats they show, so no digit is cut ("23 Dec 202"). Each pair is one
// column as wide as the wider of its date and time at their longest. The
// start's column keeps clear of the play buttons and the speed row beside
// it, growing to the left; the end's column grows to the right, and the
// position bar, the record panel and what lies right of it follow.

class TArchView;

// Call once the pickers have their face and display formats.
void FitIntervalPickers(TArchView& window);
