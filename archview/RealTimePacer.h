#pragma once
// TRealTimePacer: keeps a run to a multiple of real time, counted from its
// anchor (the start of the run, or the last change of position, freeze or
// speed, or the far side of a gap crossed): a record lying d seconds of
// archive from the anchor is due d / multiple seconds of wall clock after it.
// It only tells how far a record is from being due and how far it lies from
// the frame before; the run does the waiting and the catching up.
// Archive times are date-times (days); wall-clock readings are elapsed
// seconds (platform/Clock.h), passed in by the caller.

class TRealTimePacer {
 public:
  // A stretch of more archive time than this, in seconds, between the frame
  // judged last (or the anchor) and the next one holds nothing the run shows:
  // it is crossed at once rather than waited through.
  static constexpr double CrossGap = 2.0;

  // A wait outside the run longer than this is taken as time the run was
  // not in control (a modal dialog, a menu, a handler that blocked): shorter
  // ones are the run's own business, made up by catching up.
  static constexpr double StallLimit = 0.2;

  // Anchors at archiveTime and the elapsed reading now, at multiple × real
  // time (above 0). The anchor stands for the frame judged last.
  void Restart(double archiveTime, double multiple, double now);
  // Wall-clock seconds until a record at archiveTime is due, in either
  // direction from the anchor: above 0 while it is early, below 0 once late.
  double DueIn(double archiveTime, double now) const;
  // The run shows or passes over the frame at archiveTime.
  void NoteJudged(double archiveTime) { lastTime_ = archiveTime; }
  // Seconds of archive time, to the millisecond, from the frame judged last
  // to a frame at archiveTime: above CrossGap, the stretch is to be crossed.
  double GapSeconds(double archiveTime) const;
  // The run had handed control away from began to ended. A stall longer
  // than StallLimit moves the anchor on by the part of it after the
  // anchor, so the run goes on as if it had not happened. True for a stall.
  bool NoteOutside(double began, double ended);

 private:
  double anchorTime_ = 0.0;
  double anchorSeconds_ = 0.0;
  double multiple_ = 1.0;
  double lastTime_ = 0.0;
};
