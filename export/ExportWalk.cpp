#include "export/ExportWalk.h"

#include "archive/OrxRead.h"
#include "common/CameraMask.h"

void ExportWalk::Start(double start) {
  time_ = start;
  reader_.SetPosition(time_, SeekDirection::Forward);
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
    if (!reader_.Next(1, camera_, kinds_, time_, stream_)) return WalkStep::ArchiveEnd;
    if (time_ > front.IntervalEnd()) return WalkStep::PastInterval;
    if (camera_ < static_cast<std::uint32_t>(CameraCount) && !stream_.Empty() &&
        front.Takes(camera_))
      return WalkStep::Selected;
    if (!front.PassedOver()) return WalkStep::Abandoned;
  }
}
