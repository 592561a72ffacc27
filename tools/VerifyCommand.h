#pragma once
// orxtool verify VOLUME...: checks every rule of the volume format.

#include <string>
#include <vector>

// args: the words after the command name. Returns the process exit code.
int RunVerify(const std::vector<std::string>& args);
