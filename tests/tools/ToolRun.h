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

ToolResult RunTool(const std::vector<std::string>& args);

// Day numbers as the tool prints and reads them.
std::string Day(double time);
// crc32 of bytes, as the walk prints it: 8 hex digits.
std::string Crc(const std::vector<unsigned char>& bytes);
