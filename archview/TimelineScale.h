#pragma once
// TimelineScale: which stretch of time the timeline strip shows across its
// width. At first, and whenever it is zoomed out as far as it goes, it shows
// the whole archive and follows the archive as it grows; zoomed in, it keeps
// its stretch until the operator zooms or pans. It never shows less than
// MinSpanSeconds nor goes beyond the archive with a margin.
// Times are date-times (days); x is in pixels from the left of the strip's
// canvas, of the given width.

class TimelineScale {
 public:
  // The narrowest stretch the strip shows: about a minute across it.
  static constexpr double MinSpanSeconds = 60.0;

  // The archive's first and last record; false when there is none to show
  // (last before first, or not finite), which leaves nothing shown.
  bool SetExtent(double first, double last);
  bool HasExtent() const { return hasExtent_; }

  double From() const { return from_; }
  double To() const { return to_; }
  double Span() const { return to_ - from_; }
  // True while the whole archive is shown.
  bool Whole() const { return whole_; }
  void ShowWhole();

  // Zooms by factor (below 1 zooms in) keeping time where it is on the strip.
  void ZoomAround(double time, double factor);
  // Moves the stretch by days, no further than the whole archive's ends.
  void Pan(double days);
  // Moves the stretch so time lies at share (0 … 1) of the width; the span
  // stays.
  void Place(double time, double share);

  double TimeAt(double x, int width) const;
  double XOf(double time, int width) const;

 private:
  // The whole archive with a margin, at least MinSpanSeconds wide.
  double WholeFrom() const;
  double WholeTo() const;
  // Keeps the stretch inside the whole range; a stretch as wide as it shows it.
  void Bound();

  bool hasExtent_ = false;
  bool whole_ = true;
  double first_ = 0.0;
  double last_ = 0.0;
  double from_ = 0.0;
  double to_ = 0.0;
};
