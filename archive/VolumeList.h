#pragma once
// The ordered list of volume paths that the reader treats as one archive.
// The main window owns it; the reader reads it afresh at every Open and Seek.

#include <string>
#include <vector>

using VolumeList = std::vector<std::string>;
