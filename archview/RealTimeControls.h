#pragma once
// TRealTimeControls: the real-time toggle "1×", the speed bar's meaning while
// it is on, and the readout above the position bar. While the toggle is on a
// run keeps to the multiple of real time that the bar asks for (×1 at 0,
// archview/SpeedScale.h), counted from the start of the run or the last
// change of position, freeze or speed; it shows every frame while it keeps
// pace and passes over frames only when it has fallen behind, to catch up
// (TArchView::AwaitRealTime waits in the run's own 10 ms pauses). A
// stretch of more than two seconds of archive without a frame the run shows
// (TRealTimePacer::CrossGap) is crossed at once: the frame after it is shown
// and the pacing goes on from there, and the readout says so for a moment.
// Time in which the run had handed control away for long (a modal dialog) is
// not made up. With the toggle off the bar's pauses and skips apply and nothing
// is paced. Fragment export is never paced.

#include <QObject>
#include <QString>

#include "archview/RealTimePacer.h"
#include "archview/SpeedMeter.h"

class TArchView;

class TRealTimeControls final : public QObject {
  Q_OBJECT

 public:
  // A frame later than this is passed over, so the run catches up.
  static constexpr double CatchUpLag = 0.25;
  // Catching up never leaves the cells unchanged longer than this: when
  // even reading cannot keep pace, a frame is shown anyway.
  static constexpr double LongestCatchUp = 0.25;

  // How long the readout tells of a gap crossed, in wall-clock seconds.
  static constexpr double CrossingShown = 3.0;

  // A child of the window; wires the toggle, the bar, the freeze button and
  // the timer's tick.
  explicit TRealTimeControls(TArchView& window);

  // True when a run must keep to real time now: "1×" is on.
  bool Applies() const;
  // The multiple of real time the bar asks for while "1×" is on.
  double Multiple() const;

  enum class Pace { Wait, Show, PassOver };
  // What a run does now with the frame of a record at archiveTime: waits,
  // shows it, or passes it over. Counts it as shown or passed over when it
  // says so. A frame beyond a gap is shown at once, anchoring the pacing.
  Pace Judge(double archiveTime);
  // Anchors pacing and readout at the present position: a run starts, the
  // position moves, a freeze begins or ends, the speed changes.
  void Restart();
  // After every step of a run: the position is the time of the frame shown.
  void NoteStep();
  // The run handed control to the window's events from the elapsed reading
  // began until now.
  void NoteOutside(double began);
  // The readout: at real time the multiple asked, the speed achieved when
  // it is lower and the share of frames passed over, or for a moment the
  // gap just crossed ("×1, пропуск 50:12"); without it the speed
  // achieved; "×0" while frozen; stopped, only the multiple asked.
  void UpdateReadout();

 private:
  TArchView& window_;
  TRealTimePacer pacer_;
  TSpeedMeter meter_;
  long long shown_ = 0;       // frames a paced run showed
  long long passedOver_ = 0;  // and those it passed over
  double passingSince_ = -1.0;  // when the present catching up began
  double crossedSeconds_ = 0.0;  // archive seconds of the gap crossed last
  double crossedAt_ = -1.0;      // and the elapsed reading then; -1: none
  QString freeText_;  // the last speed told without real time
};
