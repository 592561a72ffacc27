#pragma once
// Test support: runs the built orxtool and captures what it prints.

#include <string>
#include <vector>

struct ToolResult {
  int exit = -1;
  std::string out;
  std::string err;
  std::vector<std::string> OutLines() const;
  std::vector<std::string> ErrLines() const;
};

// interruptPending: the tool starts with a Ctrl-C (SIGINT) blocked and
// waiting, which reaches it where it unblocks the signal.
ToolResult RunTool(const std::vector<std::string>& args, bool interruptPending = false);

// Day numbers as the tool prints and reads them.
std::string Day(double time);
// crc32 of bytes, as the walk prints it: 8 hex digits.
std::string Crc(const std::vector<unsigned char>& bytes);
