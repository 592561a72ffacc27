#pragma once
// The present time, as one seam: the reader, the playback window and the
// export ask it, and tests or `orxtool --now` install a fixed clock.

class Clock {
 public:
  virtual ~Clock() = default;
  // The present local date and time as a date-time.
  virtual double Now() const = 0;
};

// The local wall clock, with milliseconds.
class SystemClock final : public Clock {
 public:
  double Now() const override;
};

// Always the same moment.
class FixedClock final : public Clock {
 public:
  explicit FixedClock(double now) : now_(now) {}
  double Now() const override { return now_; }
  void Set(double now) { now_ = now; }

 private:
  double now_;
};

// The present time through the installed clock (the system clock unless a
// test or a command-line option installed another).
double PresentTime();

// Installs a clock (not owned; it must outlive its use); nullptr restores the
// system clock.
void InstallClock(const Clock* clock);
