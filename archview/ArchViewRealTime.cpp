// The wait of a run at real time: a frame read by a step of a run is shown
// only once the wall clock has reached its time, and passed over when the
// run is so late that it must catch up.

#include "archview/ArchView.h"
#include "archview/PlaybackState.h"
#include "archview/RealTimeControls.h"

TArchView::PaceResult TArchView::AwaitRealTime() {
  const double due = PlaybackTime;
  for (bool first = true;; first = false) {
    // The handlers that ran in the pauses may have made the frame pointless:
    // a closed window, a position moved by a control or a step. A stop
    // leaves the position at this frame: it is shown, so the picture is
    // that of the position and the next run goes on after it.
    if (!first && (!isVisible() || PlaybackTime != due)) return PaceResult::Dropped;
    if (!first && StopRequested) return PaceResult::Show;
    if (!RealTime->Applies()) return PaceResult::Show;
    // A closed window waits for nothing (the next read ends the run).
    if (!isVisible()) return PaceResult::Show;
    if (Frozen) {
      if (!WaitForEvent()) return PaceResult::WindowGone;
      continue;
    }
    switch (RealTime->Judge(due)) {
      case TRealTimeControls::Pace::Wait:
        if (!Pause()) return PaceResult::WindowGone;
        break;
      case TRealTimeControls::Pace::Show:
        return PaceResult::Show;
      case TRealTimeControls::Pace::PassOver:
        return PaceResult::PassOver;
    }
  }
}
