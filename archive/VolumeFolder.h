#pragma once
// A folder named where volumes are expected stands for the archive it
// holds: every .oxa file in it. The viewer and orxtool both read it so.

#include <string>
#include <vector>

#include "archive/VolumeList.h"

// The .oxa files (the suffix in any letter case) directly in folder, by
// name: regular files and links to them, not subfolders, not hidden files.
std::vector<std::string> VolumesInFolder(const std::string& folder);

// names with each folder among them replaced by VolumesInFolder; every
// other name is kept as it is, a missing file too.
VolumeList WithFoldersOpened(const std::vector<std::string>& names);
