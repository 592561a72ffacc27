// Replays inputs through a fuzz target without libFuzzer: each argument is a
// file, or a folder whose files are replayed in name order. A broken contract
// aborts, so the CTest case of that seed fails; any compiler builds this.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"

int main(int argc, char** argv) {
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    std::error_code error;
    if (std::filesystem::is_directory(argv[i], error)) {
      std::vector<std::string> inFolder;
      for (const auto& entry : std::filesystem::directory_iterator(argv[i], error))
        if (entry.is_regular_file()) inFolder.push_back(entry.path().string());
      std::sort(inFolder.begin(), inFolder.end());
      files.insert(files.end(), inFolder.begin(), inFolder.end());
    } else {
      files.push_back(argv[i]);
    }
  }
  if (files.empty()) {
    std::fprintf(stderr, "usage: %s INPUT-OR-FOLDER...\n", argv[0]);
    return 2;
  }
  for (const std::string& file : files) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
      std::fprintf(stderr, "%s: not a file\n", file.c_str());
      return 2;
    }
    const std::vector<std::uint8_t> bytes = fuzz::ReadWholeFile(file);
    std::printf("replaying %s (%zu bytes)\n", file.c_str(), bytes.size());
    std::fflush(stdout);
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
  }
  std::printf("%zu inputs replayed, every contract held\n", files.size());
  return 0;
}
