#pragma once
// What a fragment export was asked for and how it ended: what the front
// ends hand to RunExportHandover and what its report states.

#include <cstdint>
#include <string>

#include "common/CameraMask.h"
#include "common/RecordKind.h"

enum class ExportFormat {
  Volumes,  // archive volumes (.oxa), which the viewer opens
  Video,    // one Matroska video per camera, which any player opens
};

struct ExportRequest {
  ExportFormat format = ExportFormat::Volumes;
  std::string folder;  // the export's own folder, made already, no trailing separator
  double from = 0.0;   // the interval asked
  double to = 0.0;
  std::uint32_t cameras = AllCameras;  // the selection when the export started
  std::uint32_t kinds = KindAll;
  double madeAt = 0.0;    // the moment the export started
  std::string frontEnd;   // who made it: "orxtool", or the viewer's window
};

enum class ExportState {
  Complete,     // the interval was exported up to its end or the archive's
  Interrupted,  // the operator stopped it; what was taken is kept
  Failed,       // a file could not be made or written; what was taken is kept
};
