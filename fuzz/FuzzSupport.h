#pragma once
// What every fuzz target shares: the libFuzzer entry point, contract checks
// that stop the run with a message, a byte reader for the inputs, and
// scratch files that the archive code can open.
//
// A target is one .cpp defining LLVMFuzzerTestOneInput. It is built twice
// (fuzz/CMakeLists.txt): with libFuzzer by clang for `make fuzz`, and with
// ReplayMain.cpp by any compiler, so `make test` replays every seed.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

// A broken contract: prints what and where, then aborts, which both libFuzzer
// and the replay report as a failure.
[[noreturn]] void ContractBroken(const char* what, const char* file, int line);
#define FUZZ_CHECK(condition) \
  ((condition) ? (void)0 : ContractBroken(#condition, __FILE__, __LINE__))

namespace fuzz {

// Takes bytes from the front of an input; past the end every read gives 0.
class ByteReader {
 public:
  ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool Done() const { return at_ >= size_; }
  std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  std::uint32_t Word() {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= std::uint32_t{Byte()} << (8 * i);
    return v;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

// An input split into its image and, at its end, a short script:
// [image][script][flags][script length]. Any bytes split somehow, so raw
// volumes and frames are inputs too.
struct ScriptedInput {
  std::vector<std::uint8_t> image;
  std::vector<std::uint8_t> script;
  std::uint8_t flags = 0;
};
ScriptedInput SplitInput(const std::uint8_t* data, std::size_t size);
// The inverse, for making seeds.
std::vector<std::uint8_t> JoinInput(const ScriptedInput& input);

// A folder of this process's own, removed at exit.
const std::string& ScratchDir();
std::string ScratchPath(const std::string& name);
// Replaces the file with exactly these bytes.
void WriteScratchFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> ReadWholeFile(const std::string& path);
// The same into a buffer kept between calls (no allocation when the size
// stays), for targets that compare whole files often.
void ReadWholeFileInto(const std::string& path, std::vector<std::uint8_t>& bytes);

}  // namespace fuzz
