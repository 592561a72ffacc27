#include "archview/RealTimePacer.h"

#include <cmath>

#include "common/DateTime.h"
#include "platform/Clock.h"

void TRealTimePacer::Restart(double archiveTime) {
  anchorTime_ = archiveTime;
  anchorSeconds_ = ElapsedSeconds();
}

bool TRealTimePacer::Ahead(double archiveTime) const {
  // Judged to the millisecond, as the archive's times are: day fractions
  // must not keep a record waiting one pause longer than its time.
  const double archiveMs = std::round(std::fabs(archiveTime - anchorTime_) * MillisecondsPerDay);
  const double elapsedMs = (ElapsedSeconds() - anchorSeconds_) * 1000.0;
  return archiveMs > elapsedMs;
}
