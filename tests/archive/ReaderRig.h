#pragma once
// A reader over volumes in a temporary directory, with the present time
// fixed one day after the test archive's base day.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "archive/OrxRead.h"
#include "common/CameraMask.h"
#include "common/DateTime.h"
#include "common/RecordKind.h"
#include "platform/Clock.h"
#include "tests/archive/support/VolumeBuilder.h"

namespace orxtest {

inline constexpr SeekDirection Fwd = SeekDirection::Forward;
inline constexpr SeekDirection Back = SeekDirection::Backward;

struct StepResult {
  bool ok = false;
  std::uint32_t camera = 0;
  std::uint32_t kinds = 0;
  double time = 0;
  std::vector<std::uint8_t> bytes;
};

class ReaderRig : public ::testing::Test {
 protected:
  ReaderRig() { InstallClock(&clock_); }
  ~ReaderRig() override { InstallClock(nullptr); }

  // A fresh volume, appended to the list.
  VolumeBuilder& AddVolume(const std::string& name, std::int64_t size = MinVolumeSize) {
    builders_.emplace_back(std::make_unique<VolumeBuilder>(dir_.File(name), size));
    list_.push_back(dir_.File(name));
    return *builders_.back();
  }
  void AddPath(const std::string& name) { list_.push_back(dir_.File(name)); }

  // SetPosition on a copy of time; *landed gets the copy afterwards.
  int SetPos(double time, SeekDirection direction, double* landed = nullptr) {
    const int r = reader_.SetPosition(time, direction);
    if (landed != nullptr) *landed = time;
    return r;
  }

  StepResult Step(bool forward, int count = 1, std::uint32_t cameras = AllCameras,
                  std::uint32_t kinds = KindAll) {
    StepResult r;
    r.camera = cameras;
    r.kinds = kinds;
    r.time = -12345.0;  // a failure must leave it alone
    stream_.Clear();
    r.ok = forward ? reader_.Next(count, r.camera, r.kinds, r.time, stream_)
                   : reader_.Previous(count, r.camera, r.kinds, r.time, stream_);
    r.bytes.assign(stream_.Data(), stream_.Data() + stream_.Size());
    return r;
  }
  StepResult Next(int count = 1, std::uint32_t cameras = AllCameras,
                  std::uint32_t kinds = KindAll) {
    return Step(true, count, cameras, kinds);
  }
  StepResult Prev(int count = 1, std::uint32_t cameras = AllCameras,
                  std::uint32_t kinds = KindAll) {
    return Step(false, count, cameras, kinds);
  }

  // Index of the current record within its ring of the given volume.
  std::int64_t Slot(const VolumeBuilder& v) const {
    return (reader_.EntryPos() - v.Geometry().RingStart(reader_.ActiveRing())) / EntrySize;
  }

  TempDir dir_;
  FixedClock clock_{BaseDay + 1.0};
  VolumeList list_;
  TOrxRead reader_{list_};
  FrameStream stream_;
  std::vector<std::unique_ptr<VolumeBuilder>> builders_;
};

}  // namespace orxtest
