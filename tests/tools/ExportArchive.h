#pragma once
// Test support for orxtool export: an archive of real JPEG frames in a
// temporary folder, the records an export of it must take, and the export
// folder a run made.

#include <string>
#include <vector>

#include "tests/archive/support/VolumeBuilder.h"
#include "tests/archview/ArchVolumes.h"

struct ExportArchive {
  // Written as one volume; frames[i] belongs to records[i].
  ExportArchive(std::vector<archtest::Record> records, std::vector<archtest::Bytes> frames);

  // Indexes of the records forward playback from `from` shows with these
  // masks: after the record the reader lands on, up to `to`.
  std::vector<int> Selected(double from, double to, std::uint32_t cameras,
                            std::uint32_t kinds) const;

  orxtest::TempDir dir;
  std::vector<archtest::Record> records;
  std::vector<archtest::Bytes> frames;
  std::string volume;
};

// The export's stamp in tests: 1 February 2001, noon.
double ExportStamp();
// "--now" and the stamp as day number: every test export's folder is named
// after it.
std::vector<std::string> ExportNow();
// The folder an export under out with ExportNow makes.
std::string ExportFolderUnder(const std::string& out);
// Day numbers as the tool reads them back exactly.
std::string DayArg(double time);
