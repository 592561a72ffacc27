#pragma once
// DemoScene: what the demo archive records: which camera records when, with
// which kinds, and what each frame shows (camera number, date-time with
// milliseconds, the kinds, and an object that moves faster during motion).

#include <cstdint>
#include <vector>

#include "tools/DemoCanvas.h"

struct DemoRecord {
  std::int32_t camera = 0;
  std::int32_t kind = 0;
  std::int64_t ms = 0;  // milliseconds after the start
  bool motion = false;  // inside a motion stretch of its camera
};

class DemoScene {
 public:
  static constexpr int Cameras = 8;
  static constexpr int Seconds = 360;
  static constexpr int FrameWidth = 352;
  static constexpr int FrameHeight = 288;

  explicit DemoScene(double start) : start_(start) {}

  // Every record in time order (equal times: lower camera first).
  std::vector<DemoRecord> Schedule() const;
  double TimeOf(const DemoRecord& record) const {
    return start_ + double(record.ms) / 86400000.0;
  }
  void Render(const DemoRecord& record, DemoCanvas& canvas) const;

 private:
  double start_;
};
