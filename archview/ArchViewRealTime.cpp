// The wait of a run at real time: a frame read by a step of a run is shown
// only once the wall clock has reached its time.

#include "archview/ArchView.h"
#include "archview/PlaybackState.h"
#include "archview/RealTimeControls.h"

TArchView::PaceResult TArchView::AwaitRealTime() {
  const double due = PlaybackTime;
  for (bool first = true;; first = false) {
    // The handlers that ran in the pauses may have made the frame pointless:
    // a stop, a closed window, a position moved by a control or a step.
    if (!first && (StopRequested || !isVisible() || PlaybackTime != due))
      return PaceResult::Dropped;
    if (!RealTime->Applies()) return PaceResult::Show;
    // A closed window waits for nothing (the next read ends the run).
    if (!isVisible()) return PaceResult::Show;
    if (Frozen) {
      if (!WaitForEvent()) return PaceResult::WindowGone;
    } else if (RealTime->Ahead(due)) {
      if (!Pause()) return PaceResult::WindowGone;
    } else {
      return PaceResult::Show;
    }
  }
}
