#include "tools/FolderCheck.h"

#include <cstdio>

#include "export/ChecksumManifest.h"
#include "export/ManifestCheck.h"

int CheckManifest(const std::string& folder) {
  const ManifestCheck check = CheckAgainstManifest(folder);
  const std::string manifestPath = folder + "/" + ManifestName;
  switch (check.manifest) {
    case ManifestCheck::Manifest::None:
    case ManifestCheck::Manifest::Stopped:
      return -1;
    case ManifestCheck::Manifest::Unreadable:
      std::printf("%s: %s\n", manifestPath.c_str(), check.why.c_str());
      return 1;
    case ManifestCheck::Manifest::BadLine:
      std::printf("%s: line %d is not a checksum line of a file in this folder\n",
                  manifestPath.c_str(), check.badLine);
      return 1;
    case ManifestCheck::Manifest::Read:
      break;
  }
  int problems = 0;
  for (const FileVerdict& file : check.files) {
    const char* verdict = "matches SHA256SUMS";
    switch (file.kind) {
      case FileVerdict::Kind::Matches: break;
      case FileVerdict::Kind::Differs: verdict = "differs from SHA256SUMS"; break;
      case FileVerdict::Kind::Missing: verdict = "missing (listed in SHA256SUMS)"; break;
      case FileVerdict::Kind::NotListed: verdict = "not listed in SHA256SUMS"; break;
    }
    if (file.kind != FileVerdict::Kind::Matches) ++problems;
    std::printf("%s/%s: %s\n", folder.c_str(), file.name.c_str(), verdict);
  }
  return problems;
}
