#include "archive/VolumeOrder.h"

#include <algorithm>
#include <cstdint>
#include <tuple>
#include <vector>

#include "archive/FileHandle.h"
#include "archive/VolumeFormat.h"
#include "archive/VolumeRules.h"

namespace {

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

bool FirstRecordTime(const std::string& path, double& time) {
  FileHandle file;
  if (!file.Open(path, FileHandle::Mode::ReadOnly)) return false;
  VolumeHeader header;
  if (!ReadVolumeHeader(file, header) || !header.HasMagic()) return false;
  const VolumeGeometry geometry = GeometryFor(file.Size());
  bool found = false;
  double earliest = 0.0;
  for (int ring = 0; ring < 2; ++ring) {
    if (LiveEntries(header, ring, geometry) == 0) continue;
    IndexEntry entry;
    if (!ReadIndexEntry(file, header.Head(ring), entry)) continue;
    // A time no reader can find is damage, as the reader sees it.
    if (!TimeWithinSeekRange(entry.Time)) continue;
    if (!found || entry.Time < earliest) earliest = entry.Time;
    found = true;
  }
  if (found) time = earliest;
  return found;
}

VolumeList OrderByFirstRecord(const VolumeList& paths) {
  struct Item {
    bool undated;  // false sorts first
    double time;
    std::string name;
    std::string path;
  };
  std::vector<Item> items;
  items.reserve(paths.size());
  for (const std::string& path : paths) {
    double time = 0.0;
    const bool dated = FirstRecordTime(path, time);
    items.push_back({!dated, dated ? time : 0.0, BaseName(path), path});
  }
  const auto key = [](const Item& item) {
    return std::tie(item.undated, item.time, item.name, item.path);
  };
  std::sort(items.begin(), items.end(),
            [&](const Item& a, const Item& b) { return key(a) < key(b); });
  VolumeList ordered;
  ordered.reserve(items.size());
  for (const Item& item : items) {
    // Equal paths have equal keys, so a repeated one lies next to its twin.
    if (ordered.empty() || ordered.back() != item.path) ordered.push_back(item.path);
  }
  return ordered;
}
