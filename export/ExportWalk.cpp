#include "export/ExportWalk.h"

#include "archive/OrxRead.h"
#include "common/CameraMask.h"

bool ExportWalk::Start(double start) {
  time_ = start;
  // 0 is a clamp to the archive's last record, which lies before start.
  landing_ = reader_.SetPosition(time_, SeekDirection::Forward) == 1;
  return landing_;
}

WalkStep ExportWalk::Step(ExportFront& front) {
  for (;;) {
    front.BeforeRecord();
    if (front.StopRequested()) return WalkStep::Stopped;
    // The reader gives back the record's camera and kinds in these words;
    // a frame lands in the stream only when both masks want it.
    kinds_ = front.KindMask();
    camera_ = front.CameraMask();
    stream_.Clear();
    const bool read = landing_ ? reader_.Current(camera_, kinds_, time_, stream_)
                               : reader_.Next(1, camera_, kinds_, time_, stream_);
    landing_ = false;
    if (!read) return WalkStep::ArchiveEnd;
    if (time_ > front.IntervalEnd()) return WalkStep::PastInterval;
    if (camera_ < static_cast<std::uint32_t>(CameraCount) && !stream_.Empty() &&
        front.Takes(camera_))
      return WalkStep::Selected;
    if (!front.PassedOver()) return WalkStep::Abandoned;
  }
}
