#pragma once
// orxtool timeline: the runs of records per camera and kind, one line each.

#include <string>
#include <vector>

// args: the words after the command name. Returns the process exit code.
int RunTimeline(const std::vector<std::string>& args);
