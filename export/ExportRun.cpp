#include "export/ExportRun.h"

#include <cstring>

#include "archive/OrxWrite.h"

ExportEnd RunExport(ExportSource& source, const FrameStream& stream, FrameSink& sink) {
  bool sinkFailed = false;
  for (;;) {
    std::uint32_t camera = 0, kinds = 0;
    double time = 0.0;
    const ExportSource::Step step = source.Next(camera, kinds, time);
    if (step == ExportSource::Step::End) break;
    if (step == ExportSource::Step::Skip) continue;
    const std::size_t length = stream.Size();
    if (length > ExportBuffer.size()) continue;  // the reader hands out none longer
    std::memcpy(ExportBuffer.data(), stream.Data(), length);
    const bool goOn = source.Taken();
    if (!sink.Append(static_cast<std::int32_t>(camera), kinds, time,
                     static_cast<std::int32_t>(length))) {
      sinkFailed = true;
      break;
    }
    if (!goOn) break;
  }
  if (!sink.Close()) sinkFailed = true;
  return sinkFailed ? ExportEnd::SinkFailed : ExportEnd::Finished;
}
