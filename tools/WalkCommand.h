#pragma once
// orxtool walk: drives one TOrxRead over the volumes, one line per step.

#include <string>
#include <vector>

// args: the words after the command name. Returns the process exit code.
int RunWalk(const std::vector<std::string>& args);
