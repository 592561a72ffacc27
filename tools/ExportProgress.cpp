#include "tools/ExportProgress.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>

namespace {

// Often enough to look alive, rarely enough to cost nothing.
constexpr std::chrono::milliseconds kShowEvery{200};
constexpr double kMiB = 1024.0 * 1024.0;

}  // namespace

ExportProgress::ExportProgress(bool quiet, double from, double to)
    : enabled_(!quiet && ::isatty(STDERR_FILENO) == 1), from_(from), to_(to) {}

double ExportProgress::Seconds() const {
  return std::chrono::duration<double>(Clock::now() - start_).count();
}

void ExportProgress::Frame(std::size_t bytes, double time) {
  ++frames_;
  bytes_ += static_cast<std::int64_t>(bytes);
  if (!enabled_) return;
  const Clock::time_point now = Clock::now();
  if (now - shown_ < kShowEvery) return;
  shown_ = now;
  Show(time);
}

void ExportProgress::Show(double time) {
  const double share = to_ > from_ ? std::clamp((time - from_) / (to_ - from_), 0.0, 1.0) : 1.0;
  const double seconds = std::max(Seconds(), 1e-6);
  std::fprintf(
      stderr, "\r\033[Kexporting: %lld frames, %.1f MiB, %.0f %% of the interval, %.1f MiB/s",
      static_cast<long long>(frames_), bytes_ / kMiB, share * 100.0, bytes_ / kMiB / seconds);
  std::fflush(stderr);
  lineShown_ = true;
}

void ExportProgress::Finish() {
  if (!lineShown_) return;
  std::fputs("\r\033[K", stderr);
  std::fflush(stderr);
  lineShown_ = false;
}
