#include "export/ExportNames.h"

#include "common/DateTime.h"

namespace {

// "[d] [m] [y] h-m-sms"
std::string StampText(double dateTime) {
  const DateTimeFields f = SplitDateTime(dateTime);
  return "[" + std::to_string(f.day) + "] [" + std::to_string(f.month) + "] [" +
         std::to_string(f.year) + "] " + std::to_string(f.hour) + "-" +
         std::to_string(f.minute) + "-" + std::to_string(f.second * 1000 + f.millisecond);
}

}  // namespace

std::string ExportFolderName(double startStamp) { return "TempORX-" + StampText(startStamp); }

std::string ExportVolumeStem(double firstFrameTime) { return StampText(firstFrameTime); }
