#include "timeline/RunChains.h"

void RunChains::Record(int camera, std::uint32_t kinds, double time) {
  if (CameraBit(camera) == 0) return;
  for (int k = 0; k < TimelineKindCount; ++k) {
    if ((kinds & TimelineKinds[k]) == 0) continue;
    TimelineRun& chain = open_[std::size_t(camera * TimelineKindCount + k)];
    // Within the gap of the chain's span, the record leaves no gap wider
    // than the gap among the chain's records, wherever it falls.
    if (chain.records > 0 && runs_.Joins(chain.last, time) && runs_.Joins(time, chain.first)) {
      if (time > chain.last) chain.last = time;
      if (time < chain.first) chain.first = time;
      ++chain.records;
      continue;
    }
    if (chain.records > 0) runs_.Add(camera, TimelineKinds[k], chain);
    chain = TimelineRun{time, time, 1};
  }
}

void RunChains::Flush() {
  for (std::size_t lane = 0; lane < open_.size(); ++lane) {
    TimelineRun& chain = open_[lane];
    if (chain.records == 0) continue;
    runs_.Add(int(lane) / TimelineKindCount, TimelineKinds[lane % TimelineKindCount], chain);
    chain = TimelineRun{};
  }
}
