#include "tools/FolderCheck.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string_view>

#include "archive/FileHandle.h"
#include "export/ChecksumManifest.h"

namespace fs = std::filesystem;

namespace {

// A manifest is a line per file: far below this.
constexpr std::int64_t kMaxManifestBytes = 16 << 20;

bool ReadText(const std::string& path, std::string& text, std::string& why) {
  FileHandle file;
  if (!file.Open(path, FileHandle::Mode::ReadOnly)) {
    why = file.FailureText();
    return false;
  }
  const std::int64_t size = file.Size();
  if (size < 0 || size > kMaxManifestBytes) {
    why = "larger than a manifest can be";
    return false;
  }
  text.resize(static_cast<std::size_t>(size));
  if (!file.ReadAt(0, text.data(), size)) {
    why = "cannot be read";
    return false;
  }
  return true;
}

}  // namespace

int CheckManifest(const std::string& folder) {
  const std::string manifestPath = folder + "/" + ManifestName;
  std::error_code ec;
  if (!fs::exists(fs::symlink_status(manifestPath, ec))) return -1;
  std::string text, why;
  std::vector<ManifestEntry> entries;
  int badLine = 0;
  if (!ReadText(manifestPath, text, why)) {
    std::printf("%s: %s\n", manifestPath.c_str(), why.c_str());
    return 1;
  }
  if (!ParseManifest(text, entries, badLine)) {
    std::printf("%s: line %d is not a checksum line of a file in this folder\n",
                manifestPath.c_str(), badLine);
    return 1;
  }
  int problems = 0;
  std::set<std::string> listed{ManifestName};
  for (const ManifestEntry& e : entries) {
    listed.insert(e.name);
    const std::string path = folder + "/" + e.name;
    const char* verdict = "matches SHA256SUMS";
    if (!fs::exists(fs::symlink_status(path, ec))) {
      verdict = "missing (listed in SHA256SUMS)";
      ++problems;
    } else if (Sha256OfFile(path) != e.digest) {
      verdict = "differs from SHA256SUMS";
      ++problems;
    }
    std::printf("%s: %s\n", path.c_str(), verdict);
  }
  // Something added to the folder after the export is not covered.
  std::vector<std::string> unlisted;
  for (const fs::directory_entry& d : fs::directory_iterator(folder, ec))
    if (!listed.count(d.path().filename().string())) unlisted.push_back(d.path().string());
  std::sort(unlisted.begin(), unlisted.end());
  for (const std::string& path : unlisted)
    std::printf("%s: not listed in SHA256SUMS\n", path.c_str());
  return problems + static_cast<int>(unlisted.size());
}
