#pragma once
// TSpeedMeter: the speed a run actually achieves, in archive seconds per
// wall-clock second, and the share of frames it passed over to hold the
// pace, over about the last two seconds; and the readout's texts. The run
// samples after every step, when the position is the time of the frame just
// shown.

#include <QString>

#include <array>

class TSpeedMeter {
 public:
  // Forgets every sample (a new run, a jump of the position, a freeze or a
  // change of speed: what came before says nothing of what comes now).
  void Reset();
  // Notes the archive time (a date-time) at an elapsed reading in seconds,
  // with the run's running counts of frames shown and passed over. Samples
  // closer than Spacing to the one before replace the newest, so a fast run
  // keeps a handful, not thousands.
  void Sample(double elapsedSeconds, double archiveTime, long long shown = 0,
              long long passedOver = 0);
  // Archive seconds per elapsed second from the oldest sample kept to the
  // newest; negative until they span at least MinSpan.
  double Speed() const;
  // Of the frames due between the oldest sample kept and the newest, the
  // share passed over (0 … 1); negative while there were none.
  double PassedOverShare() const;

  static constexpr double Window = 2.0;    // seconds of samples kept
  static constexpr double Spacing = 0.25;  // seconds between samples kept
  static constexpr double MinSpan = 0.4;   // seconds before a speed is told

 private:
  struct Point {
    double seconds;
    double time;
    long long shown;
    long long passedOver;
  };
  // Oldest first; the window holds at most nine spaced samples and the newest.
  std::array<Point, 12> points_{};
  int count_ = 0;
};

// "×87" from 9.95 up, "×1.0" from 0.095 up, "×0.05" below, "×0" at rest.
QString SpeedReadoutText(double speed);

// The readout of a run at real time: the multiple asked; then, when the
// speed achieved is known and clearly lower, " → " and that speed; then,
// when frames were passed over, ", пропущено N %" (at least 1 %).
// achieved and passedShare are negative while not known.
QString RealTimeReadoutText(double asked, double achieved, double passedShare);

// A gap a run at real time crossed, of seconds of archive time, to the
// second: "пропуск 0:07", "пропуск 50:12", "пропуск 2:05:00".
QString GapCrossedText(double seconds);
