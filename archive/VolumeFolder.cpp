#include "archive/VolumeFolder.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

bool IsVolumeName(const std::string& name) {
  if (name.empty() || name[0] == '.' || name.size() < 5) return false;
  std::string suffix = name.substr(name.size() - 4);
  std::transform(suffix.begin(), suffix.end(), suffix.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return suffix == ".oxa";
}

}  // namespace

std::vector<std::string> VolumesInFolder(const std::string& folder) {
  std::vector<std::string> volumes;
  std::error_code ec;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
    std::error_code kindError;
    if (IsVolumeName(entry.path().filename().string()) && entry.is_regular_file(kindError))
      volumes.push_back(entry.path().string());
  }
  std::sort(volumes.begin(), volumes.end());
  return volumes;
}

VolumeList WithFoldersOpened(const std::vector<std::string>& names) {
  VolumeList volumes;
  for (const std::string& name : names) {
    std::error_code ec;
    if (!fs::is_directory(name, ec)) {
      volumes.push_back(name);
      continue;
    }
    const std::vector<std::string> inside = VolumesInFolder(name);
    volumes.insert(volumes.end(), inside.begin(), inside.end());
  }
  return volumes;
}
