#pragma once
// The progress line of orxtool export on standard error: frames, MiB, the
// share of the interval done and the rate, rewritten in place a few times a
// second. Only for a terminal: a log or a pipe gets nothing.

#include <chrono>
#include <cstddef>
#include <cstdint>

class ExportProgress {
 public:
  // Enabled when not quiet and standard error is a terminal.
  ExportProgress(bool quiet, double from, double to);

  // A frame of bytes at time has been taken.
  void Frame(std::size_t bytes, double time);
  // Clears the line.
  void Finish();

  std::int64_t Frames() const { return frames_; }
  std::int64_t Bytes() const { return bytes_; }
  double Seconds() const;

 private:
  using Clock = std::chrono::steady_clock;
  void Show(double time);

  bool enabled_;
  double from_;
  double to_;
  Clock::time_point start_ = Clock::now();
  Clock::time_point shown_{};  // the first frame shows at once
  std::int64_t frames_ = 0;
  std::int64_t bytes_ = 0;
  bool lineShown_ = false;
};
