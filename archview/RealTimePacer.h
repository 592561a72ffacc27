#pragma once
// TRealTimePacer: keeps a run from letting the archive time run ahead of the
// wall-clock time elapsed since its anchor (the start of the run, or the
// last change of position, freeze or speed). It only answers whether a
// record is due yet; the run does the waiting. Archive times are date-times
// (days); the elapsed time comes from the elapsed clock (platform/Clock.h).

class TRealTimePacer {
 public:
  // Anchors at archiveTime and the elapsed reading now.
  void Restart(double archiveTime);
  // True while a record at archiveTime lies further from the anchor, in
  // either direction, than the wall-clock time elapsed since the anchor.
  bool Ahead(double archiveTime) const;

 private:
  double anchorTime_ = 0.0;
  double anchorSeconds_ = 0.0;
};
