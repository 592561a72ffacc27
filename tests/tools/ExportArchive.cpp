#include "tests/tools/ExportArchive.h"

#include <stdexcept>

#include "common/CameraMask.h"
#include "common/DateTime.h"
#include "export/ExportNames.h"
#include "platform/Clock.h"

ExportArchive::ExportArchive(std::vector<archtest::Record> r, std::vector<archtest::Bytes> f)
    : records(std::move(r)), frames(std::move(f)), volume(dir.File("archive.oxa")) {
  if (!archtest::WriteVolume(volume, records, frames, 8 * MinVolumeSize))
    throw std::runtime_error("archive not written");
}

std::vector<int> ExportArchive::Selected(double from, double to, std::uint32_t cameras,
                                         std::uint32_t kinds) const {
  std::vector<int> out;
  for (std::size_t i = 0; i < records.size(); ++i) {
    const archtest::Record& r = records[i];
    if (r.time >= from && r.time <= to && CameraWanted(cameras, r.camera) &&
        (static_cast<std::uint32_t>(r.kind) & kinds) != 0)
      out.push_back(static_cast<int>(i));
  }
  return out;
}

double ExportStamp() { return MakeDateTime(2001, 2, 1, 12, 0, 0); }

std::vector<std::string> ExportNow() { return {"--now", DayArg(ExportStamp())}; }

std::string ExportFolderUnder(const std::string& out) {
  return out + "/" + ExportFolderName(ExportStamp());
}

std::string DayArg(double time) { return FormatDayNumber(time); }
