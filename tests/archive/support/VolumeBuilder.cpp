#include "tests/archive/support/VolumeBuilder.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <stdexcept>
#include <unistd.h>

namespace orxtest {
namespace {

// Test support may throw: a failure here is a broken test machine, and
// GoogleTest reports the exception.
void Check(bool ok, const std::string& what) {
  if (!ok) throw std::runtime_error("VolumeBuilder: " + what);
}

void WriteAt(const std::string& path, std::int64_t offset, const std::uint8_t* data,
             std::size_t count) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
  Check(fd >= 0, "open " + path);
  std::size_t done = 0;
  while (done < count) {
    const ssize_t n = ::pwrite(fd, data + done, count - done, offset + done);
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  ::close(fd);
  Check(done == count, "write " + path);
}

}  // namespace

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "orx-test-XXXXXX").string();
  Check(::mkdtemp(pattern.data()) != nullptr, "mkdtemp");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::vector<std::uint8_t> FramePayload(std::int32_t length, std::uint32_t seed) {
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length < 0 ? 0 : length));
  std::uint32_t x = seed * 2654435761u + 12345u;
  for (auto& b : bytes) {
    x = x * 1103515245u + 12345u;
    b = static_cast<std::uint8_t>(x >> 16);
  }
  if (bytes.size() >= 4) {
    bytes[0] = 0xFF;
    bytes[1] = 0xD8;
    bytes[bytes.size() - 2] = 0xFF;
    bytes[bytes.size() - 1] = 0xD9;
  }
  return bytes;
}

void MakeFile(const std::string& path, std::int64_t size, std::uint8_t fill) {
  const int fd = ::open(path.c_str(), O_CREAT | O_TRUNC | O_WRONLY | O_CLOEXEC, 0644);
  Check(fd >= 0, "create " + path);
  const bool sized = ::ftruncate(fd, size) == 0;
  ::close(fd);
  Check(sized, "size " + path);
  if (fill != 0) {
    std::vector<std::uint8_t> block(1 << 16, fill);
    for (std::int64_t at = 0; at < size; at += static_cast<std::int64_t>(block.size())) {
      const auto n = static_cast<std::size_t>(
          std::min<std::int64_t>(size - at, static_cast<std::int64_t>(block.size())));
      WriteAt(path, at, block.data(), n);
    }
  }
}

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  MakeFile(path, 0);
  if (!bytes.empty()) WriteAt(path, 0, bytes.data(), bytes.size());
}

std::vector<std::uint8_t> ReadFileBytes(const std::string& path) {
  std::vector<std::uint8_t> bytes(std::filesystem::file_size(path));
  std::FILE* f = std::fopen(path.c_str(), "rb");
  Check(f != nullptr, "read " + path);
  const std::size_t n = std::fread(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
  Check(n == bytes.size(), "read " + path);
  return bytes;
}

VolumeBuilder::VolumeBuilder(std::string path, std::int64_t size)
    : path_(std::move(path)),
      geometry_(GeometryFor(size)),
      header_(FreshHeader(size)),
      dataCursor_(geometry_.DataStart()) {
  MakeFile(path_, size);
  WriteHeader();
}

void VolumeBuilder::WriteHeader() {
  std::uint8_t bytes[HeaderSize];
  EncodeHeader(header_, bytes);
  WriteAt(path_, 0, bytes, sizeof bytes);
}

void VolumeBuilder::PokeWord(std::int64_t offset, std::uint32_t value) {
  const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(value),
                                 static_cast<std::uint8_t>(value >> 8),
                                 static_cast<std::uint8_t>(value >> 16),
                                 static_cast<std::uint8_t>(value >> 24)};
  WriteAt(path_, offset, bytes, sizeof bytes);
}

void VolumeBuilder::SetLive(int ring, std::int64_t head, std::int64_t tail) {
  header_.SetHead(ring, static_cast<std::int32_t>(SlotOffset(ring, head)));
  header_.SetTail(ring, static_cast<std::int32_t>(SlotOffset(ring, tail)));
  WriteHeader();
}

void VolumeBuilder::PutEntry(int ring, std::int64_t index, const IndexEntry& entry) {
  std::uint8_t bytes[EntrySize];
  EncodeEntry(entry, bytes);
  WriteAt(path_, SlotOffset(ring, index), bytes, sizeof bytes);
}

void VolumeBuilder::PutBytes(std::int64_t offset, const std::vector<std::uint8_t>& bytes) {
  if (!bytes.empty()) WriteAt(path_, offset, bytes.data(), bytes.size());
}

IndexEntry VolumeBuilder::Add(int ring, double time, std::int32_t camera, std::int32_t kind,
                              std::int32_t length) {
  IndexEntry entry;
  entry.Camera = camera;
  entry.Time = time;
  entry.Kind = kind;
  entry.Offset = static_cast<std::int32_t>(dataCursor_);
  entry.Length = length;
  PutBytes(dataCursor_, FramePayload(length, serial_++));
  dataCursor_ += length;
  const std::int64_t index = (header_.Tail(ring) - geometry_.RingStart(ring)) / EntrySize;
  PutEntry(ring, index, entry);
  header_.SetTail(ring, header_.Tail(ring) + static_cast<std::int32_t>(EntrySize));
  WriteHeader();
  return entry;
}

void VolumeBuilder::AddRun(int ring, std::int64_t count, double firstSecond,
                           double stepSeconds, std::int32_t camera, std::int32_t kind) {
  for (std::int64_t i = 0; i < count; ++i)
    Add(ring, Sec(firstSecond + stepSeconds * static_cast<double>(i)), camera, kind);
}

void VolumeBuilder::Truncate(std::int64_t size) {
  Check(::truncate(path_.c_str(), size) == 0, "truncate " + path_);
}

}  // namespace orxtest
