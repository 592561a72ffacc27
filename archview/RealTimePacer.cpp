#include "archview/RealTimePacer.h"

#include <algorithm>
#include <cmath>

#include "common/DateTime.h"

void TRealTimePacer::Restart(double archiveTime, double multiple, double now) {
  anchorTime_ = archiveTime;
  anchorSeconds_ = now;
  multiple_ = multiple > 0.0 ? multiple : 1.0;
  lastTime_ = archiveTime;
}

double TRealTimePacer::GapSeconds(double archiveTime) const {
  return std::round(std::fabs(archiveTime - lastTime_) * MillisecondsPerDay) / 1000.0;
}

double TRealTimePacer::DueIn(double archiveTime, double now) const {
  // Judged to the millisecond, as the archive's times are: day fractions
  // must not keep a record waiting one pause longer than its time.
  const double archiveMs = std::round(std::fabs(archiveTime - anchorTime_) * MillisecondsPerDay);
  return archiveMs / 1000.0 / multiple_ - (now - anchorSeconds_);
}

bool TRealTimePacer::NoteOutside(double began, double ended) {
  if (!(ended - began > StallLimit)) return false;
  // An anchor made during the stall (a move, a release of the freeze) only
  // loses the rest of it.
  anchorSeconds_ += std::max(0.0, ended - std::max(began, anchorSeconds_));
  return true;
}
