#pragma once
// A fresh folder under /tmp for a benchmark's files, removed with them at
// the end. path stays empty when it cannot be made.

#include <stdlib.h>

#include <filesystem>
#include <string>

struct BenchFolder {
  std::string path;
  // name: what the folder is for, as in "/tmp/bench-<name>-XXXXXX".
  explicit BenchFolder(const std::string& name) {
    std::string pattern = "/tmp/bench-" + name + "-XXXXXX";
    if (mkdtemp(pattern.data())) path = pattern;
  }
  ~BenchFolder() {
    std::error_code error;
    if (!path.empty()) std::filesystem::remove_all(path, error);
  }
  BenchFolder(const BenchFolder&) = delete;
  BenchFolder& operator=(const BenchFolder&) = delete;
};
