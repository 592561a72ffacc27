#pragma once
// orxtool export: the playback window's fragment export without a window,
// into volumes (--format oxa) or one Matroska video per camera (--format
// mkv), with a SHA256SUMS manifest over every file made.

#include <string>
#include <vector>

// args: the words after the command name. Returns the process exit code.
int RunExportCommand(const std::vector<std::string>& args);
