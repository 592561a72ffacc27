#pragma once
// RunExportHandover: one fragment export as both front ends make it, the
// playback window and orxtool export: the frames a source selects into
// volumes or video files in the export's folder, then report.html over
// them and SHA256SUMS over every file made, the report too. An export that
// was interrupted or failed still gets both, over what it made.

#include <cstdint>
#include <string>
#include <vector>

#include "common/FrameStream.h"
#include "export/ExportRequest.h"
#include "export/ExportRun.h"

struct ExportSummary {
  ExportState state = ExportState::Complete;
  std::vector<std::string> files;  // volumes or videos made, in order; not the report
  std::int64_t frames = 0;         // frames written
  std::int64_t frameBytes = 0;     // their bytes
  std::int64_t fileBytes = 0;      // bytes of the files made
  double first = 0.0;              // recorded times of the first and last frames written
  double last = 0.0;
  std::int64_t framesLeftOut = 0;  // taken, but no video file could hold them
  std::int64_t framesUnreadable = 0;  // wanted, but the volume could not give them
  bool reported = false;           // report.html written
  bool listed = false;             // SHA256SUMS written
};

// Each file is hashed as soon as it is complete, while the next one fills.
ExportSummary RunExportHandover(ExportSource& source, const FrameStream& stream,
                                const ExportRequest& request);
