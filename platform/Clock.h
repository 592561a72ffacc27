#pragma once
// The present time, as one seam: the reader, the playback window and the
// export ask it, and tests or `orxtool --now` install a fixed clock.
// Beside it, the elapsed time that paces playback, with the pause that lets
// it pass: tests install a scripted one, so nothing waits for real.

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

// Monotonic seconds, for measuring and pacing playback against the wall
// clock; a change of the local date or time never moves them.
class ElapsedClock {
 public:
  virtual ~ElapsedClock() = default;
  // Seconds since an arbitrary start; never goes back.
  virtual double Seconds() const = 0;
  // Lets milliseconds pass on the calling thread.
  virtual void Sleep(int milliseconds) = 0;
};

// The system's steady clock; Sleep blocks without spinning.
class SteadyElapsedClock final : public ElapsedClock {
 public:
  double Seconds() const override;
  void Sleep(int milliseconds) override;
};

// Moves only when told: Sleep advances it at once by the time asked and
// counts the call, and a test may advance it by hand.
class ScriptedElapsedClock final : public ElapsedClock {
 public:
  double Seconds() const override { return now_; }
  void Sleep(int milliseconds) override {
    now_ += milliseconds / 1000.0;
    ++sleeps_;
  }
  void Advance(double seconds) { now_ += seconds; }
  int Sleeps() const { return sleeps_; }

 private:
  double now_ = 0.0;
  int sleeps_ = 0;
};

// The elapsed seconds and the sleep through the installed elapsed clock (the
// steady clock unless a test installed another).
double ElapsedSeconds();
void ElapsedSleep(int milliseconds);

// Installs an elapsed clock (not owned; it must outlive its use); nullptr
// restores the steady clock.
void InstallElapsedClock(ElapsedClock* clock);
