#include "export/ManifestCheck.h"

#include <algorithm>
#include <filesystem>
#include <set>

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

ManifestCheck CheckAgainstManifest(const std::string& folder, const std::atomic<bool>* stop) {
  ManifestCheck check;
  const std::string manifestPath = folder + "/" + ManifestName;
  std::error_code ec;
  if (!fs::exists(fs::symlink_status(manifestPath, ec))) return check;
  std::string text;
  std::vector<ManifestEntry> entries;
  if (!ReadText(manifestPath, text, check.why)) {
    check.manifest = ManifestCheck::Manifest::Unreadable;
    return check;
  }
  if (!ParseManifest(text, entries, check.badLine)) {
    check.manifest = ManifestCheck::Manifest::BadLine;
    return check;
  }
  check.manifest = ManifestCheck::Manifest::Read;
  std::set<std::string> listed{ManifestName};
  for (const ManifestEntry& e : entries) {
    listed.insert(e.name);
    const std::string path = folder + "/" + e.name;
    FileVerdict::Kind kind = FileVerdict::Kind::Matches;
    if (!fs::exists(fs::symlink_status(path, ec)))
      kind = FileVerdict::Kind::Missing;
    else if (Sha256OfFile(path, stop) != e.digest)
      kind = FileVerdict::Kind::Differs;
    // A digest cut short says nothing about the file.
    if (stop && stop->load()) {
      check.manifest = ManifestCheck::Manifest::Stopped;
      return check;
    }
    check.files.push_back({e.name, kind});
  }
  // Something added to the folder after the export is not covered.
  std::vector<std::string> unlisted;
  for (const fs::directory_entry& d : fs::directory_iterator(folder, ec))
    if (!listed.count(d.path().filename().string()))
      unlisted.push_back(d.path().filename().string());
  std::sort(unlisted.begin(), unlisted.end());
  for (std::string& name : unlisted)
    check.files.push_back({std::move(name), FileVerdict::Kind::NotListed});
  return check;
}
