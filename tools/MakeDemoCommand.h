#pragma once
// orxtool make-demo: a demo archive of rendered JPEG frames via TOrxWrite.

#include <string>
#include <vector>

// args: the words after the command name. Returns the process exit code.
int RunMakeDemo(const std::vector<std::string>& args);
