#include "platform/Clock.h"

#include <chrono>
#include <ctime>
#include <thread>

#include "common/DateTime.h"

double SystemClock::Now() const {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t seconds = system_clock::to_time_t(now);
  const int ms = static_cast<int>(
      duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
  std::tm local{};
  localtime_r(&seconds, &local);
  return MakeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                      local.tm_hour, local.tm_min, local.tm_sec, ms < 0 ? 0 : ms);
}

namespace {
const SystemClock kSystemClock;
const Clock* gInstalledClock = nullptr;  // the seam; nullptr = the system clock
}  // namespace

double PresentTime() {
  return (gInstalledClock ? gInstalledClock : &kSystemClock)->Now();
}

void InstallClock(const Clock* clock) { gInstalledClock = clock; }

double SteadyElapsedClock::Seconds() const {
  using namespace std::chrono;
  return duration<double>(steady_clock::now().time_since_epoch()).count();
}

void SteadyElapsedClock::Sleep(int milliseconds) {
  if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

namespace {
SteadyElapsedClock gSteadyClock;
ElapsedClock* gInstalledElapsedClock = nullptr;  // nullptr = the steady clock

ElapsedClock& CurrentElapsedClock() {
  return gInstalledElapsedClock ? *gInstalledElapsedClock : gSteadyClock;
}
}  // namespace

double ElapsedSeconds() { return CurrentElapsedClock().Seconds(); }

void ElapsedSleep(int milliseconds) { CurrentElapsedClock().Sleep(milliseconds); }

void InstallElapsedClock(ElapsedClock* clock) { gInstalledElapsedClock = clock; }
