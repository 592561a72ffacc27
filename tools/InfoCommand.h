#pragma once
// orxtool info VOLUME...: what each file holds, header and rings.

#include <string>
#include <vector>

// args: the words after the command name. Returns the process exit code.
int RunInfo(const std::vector<std::string>& args);
