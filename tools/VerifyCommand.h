#pragma once
// orxtool verify [--frames] VOLUME...: checks every rule of the volume
// format; with --frames also decodes every frame.

#include <string>
#include <vector>

// args: the words after the command name. Returns the process exit code.
int RunVerify(const std::vector<std::string>& args);
