#include "fuzz/FuzzSupport.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

void ContractBroken(const char* what, const char* file, int line) {
  std::fprintf(stderr, "contract broken: %s (%s:%d)\n", what, file, line);
  std::fflush(stderr);
  std::abort();
}

namespace fuzz {

ScriptedInput SplitInput(const std::uint8_t* data, std::size_t size) {
  ScriptedInput in;
  if (size < 2) {
    in.image.assign(data, data + size);
    return in;
  }
  const std::size_t scriptLength = std::min<std::size_t>(data[size - 1], size - 2);
  in.flags = data[size - 2];
  const std::size_t imageLength = size - 2 - scriptLength;
  in.image.assign(data, data + imageLength);
  in.script.assign(data + imageLength, data + size - 2);
  return in;
}

std::vector<std::uint8_t> JoinInput(const ScriptedInput& input) {
  std::vector<std::uint8_t> out = input.image;
  const std::size_t n = std::min<std::size_t>(input.script.size(), 255);
  out.insert(out.end(), input.script.begin(), input.script.begin() + long(n));
  out.push_back(input.flags);
  out.push_back(static_cast<std::uint8_t>(n));
  return out;
}

namespace {

struct Scratch {
  std::string path;
  Scratch() {
    std::string pattern = (std::filesystem::temp_directory_path() / "orx-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) ContractBroken("mkdtemp", __FILE__, __LINE__);
    path = pattern;
  }
  ~Scratch() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
};

}  // namespace

const std::string& ScratchDir() {
  static const Scratch scratch;
  return scratch.path;
}

std::string ScratchPath(const std::string& name) { return ScratchDir() + "/" + name; }

void WriteScratchFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) ContractBroken("scratch file cannot be made", __FILE__, __LINE__);
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  ::close(fd);
  if (done != bytes.size()) ContractBroken("scratch file cannot be written", __FILE__, __LINE__);
}

void ReadWholeFileInto(const std::string& path, std::vector<std::uint8_t>& bytes) {
  bytes.clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return;
  const off_t size = ::lseek(fd, 0, SEEK_END);
  if (size > 0) {
    bytes.resize(static_cast<std::size_t>(size));
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::pread(fd, bytes.data() + done, bytes.size() - done, off_t(done));
      if (n <= 0) break;
      done += static_cast<std::size_t>(n);
    }
    bytes.resize(done);
  }
  ::close(fd);
}

std::vector<std::uint8_t> ReadWholeFile(const std::string& path) {
  std::vector<std::uint8_t> bytes;
  ReadWholeFileInto(path, bytes);
  return bytes;
}

}  // namespace fuzz
