#pragma once
// Names of a fragment export: the folder made for it, named after the moment
// the export started, and its volumes, each named after its first frame.
// Numbers are decimal without leading zeros; seconds and milliseconds are one
// number (s x 1000 + ms).

#include <string>

// "TempORX-[7] [12] [2026] 12-5-3250" for 7 December 2026 12:05:03.250.
std::string ExportFolderName(double startStamp);

inline constexpr const char* ExportVolumeExtension = ".oxa";

// "[6] [12] [2026] 9-0-40" for 6 December 2026 09:00:00.040; the volume's
// name is this and ExportVolumeExtension.
std::string ExportVolumeStem(double firstFrameTime);
