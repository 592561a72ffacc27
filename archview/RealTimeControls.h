#pragma once
// TRealTimeControls: the real-time toggle "1×" and the readout of the speed
// achieved, both beside the speed bar. While the toggle is on and the bar
// stands at 0 or left of it, a run never shows a frame before the wall clock
// reaches its time, counted from the start of the run or the last change of
// position, freeze or speed (TArchView::AwaitRealTime does the waiting in
// the run's own 10 ms pauses). Left of 0 the pauses after each frame still
// apply; right of 0 the skips make a fast run, never paced. Fragment export
// is never paced.

#include <QObject>

#include "archview/RealTimePacer.h"
#include "archview/SpeedMeter.h"

class TArchView;

class TRealTimeControls final : public QObject {
  Q_OBJECT

 public:
  // A child of the window; wires the toggle, the bar, the freeze button and
  // the timer's tick.
  explicit TRealTimeControls(TArchView& window);

  // True when a run must keep to real time now.
  bool Applies() const;
  // True while a record at archiveTime is not yet due.
  bool Ahead(double archiveTime) const { return pacer_.Ahead(archiveTime); }
  // Anchors pacing and readout at the present position: a run starts, the
  // position moves, a freeze begins or ends, the speed changes.
  void Restart();
  // After every step of a run: the position is the time of the frame shown.
  void NoteStep();
  // With the caption: the achieved speed of a run, "×0" while frozen,
  // nothing while stopped.
  void UpdateReadout();

 private:
  TArchView& window_;
  TRealTimePacer pacer_;
  TSpeedMeter meter_;
};
