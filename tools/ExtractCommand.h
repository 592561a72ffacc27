#pragma once
// orxtool extract: frames from a forward walk written as .jpg files.

#include <string>
#include <vector>

// args: the words after the command name. Returns the process exit code.
int RunExtract(const std::vector<std::string>& args);
