#pragma once
// TSpeedMeter: the speed a run actually achieves, in archive seconds per
// wall-clock second, over about the last two seconds; and its readout text
// ("×1.0", "×0.1", "×87"). The run samples after every step, when the
// position is the time of the frame just shown.

#include <QString>

#include <array>

class TSpeedMeter {
 public:
  // Forgets every sample (a new run, a jump of the position, a freeze or a
  // change of speed: what came before says nothing of what comes now).
  void Reset();
  // Notes the archive time (a date-time) at an elapsed reading in seconds.
  // Samples closer than Spacing to the one before replace the newest, so a
  // fast run keeps a handful, not thousands.
  void Sample(double elapsedSeconds, double archiveTime);
  // Archive seconds per elapsed second from the oldest sample kept to the
  // newest; negative until they span at least MinSpan.
  double Speed() const;

  static constexpr double Window = 2.0;    // seconds of samples kept
  static constexpr double Spacing = 0.25;  // seconds between samples kept
  static constexpr double MinSpan = 0.4;   // seconds before a speed is told

 private:
  struct Point {
    double seconds;
    double time;
  };
  // Oldest first; the window holds at most nine spaced samples and the newest.
  std::array<Point, 12> points_{};
  int count_ = 0;
};

// "×87" from 9.95 up, "×1.0" from 0.095 up, "×0.05" below, "×0" at rest.
QString SpeedReadoutText(double speed);
