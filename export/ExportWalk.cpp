#include "export/ExportWalk.h"

#include <string>

#include "archive/OrxRead.h"
#include "common/CameraMask.h"

namespace {

// Where the reader stands, to tell whether a failed step moved it.
struct Spot {
  std::string file;
  std::int32_t ring;
  std::int32_t entry;
  bool operator==(const Spot&) const = default;
};

Spot SpotOf(const TOrxRead& reader) {
  return {reader.FileName(), reader.ActiveRing(), reader.EntryPos()};
}

}  // namespace

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
    const Spot before = SpotOf(reader_);
    const bool landing = landing_;
    const bool read = landing ? reader_.Current(camera_, kinds_, time_, stream_)
                              : reader_.Next(1, camera_, kinds_, time_, stream_);
    landing_ = false;
    if (!read) {
      // A step that failed on a frame still moved onto its record; the
      // landing's own frame fails without a move. Either way the walk goes
      // on past that record: one damaged frame must not end the export.
      if (!landing && SpotOf(reader_) == before) return WalkStep::ArchiveEnd;
      front.Unreadable(reader_.Entry().Time);
      if (!front.PassedOver()) return WalkStep::Abandoned;
      continue;
    }
    if (time_ > front.IntervalEnd()) return WalkStep::PastInterval;
    if (camera_ < static_cast<std::uint32_t>(CameraCount) && !stream_.Empty() &&
        front.Takes(camera_))
      return WalkStep::Selected;
    if (!front.PassedOver()) return WalkStep::Abandoned;
  }
}
