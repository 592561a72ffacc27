#pragma once
// orxtool decode IN.jpg OUT.ppm: one frame through FrameDecoder into a PPM.

#include <string>
#include <vector>

// args: the words after the command name. Returns the process exit code.
int RunDecode(const std::vector<std::string>& args);
