#include "archive/FileHandle.h"

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

FileHandle::FileHandle(FileHandle&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

bool FileHandle::Open(const std::string& path, Mode mode) {
  Close();
  const int flags = (mode == Mode::ReadOnly ? O_RDONLY : O_RDWR) | O_CLOEXEC;
  int fd;
  do {
    fd = ::open(path.c_str(), flags);  // no O_CREAT: a missing file stays missing
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return false;
  // Only regular files are volumes; a directory or a FIFO would make reads
  // fail oddly or block.
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return false;
  }
  fd_ = fd;
  return true;
}

void FileHandle::Close() {
  if (fd_ >= 0) {
    // Retrying close after EINTR may close a reused descriptor on Linux.
    ::close(fd_);
    fd_ = -1;
  }
}

std::int64_t FileHandle::Size() const {
  if (fd_ < 0) return -1;
  struct stat st {};
  if (::fstat(fd_, &st) != 0) return -1;
  return static_cast<std::int64_t>(st.st_size);
}

bool FileHandle::ReadAt(std::int64_t offset, void* buffer, std::int64_t count) const {
  if (fd_ < 0 || offset < 0 || count < 0) return false;
  auto* out = static_cast<std::uint8_t*>(buffer);
  std::int64_t done = 0;
  while (done < count) {
    const ssize_t n = ::pread(fd_, out + done, static_cast<size_t>(count - done),
                              static_cast<off_t>(offset + done));
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return false;  // end of file before count bytes
    done += n;
  }
  return true;
}

bool FileHandle::WriteAt(std::int64_t offset, const void* buffer, std::int64_t count) const {
  if (fd_ < 0 || offset < 0 || count < 0) return false;
  const auto* in = static_cast<const std::uint8_t*>(buffer);
  std::int64_t done = 0;
  while (done < count) {
    const ssize_t n = ::pwrite(fd_, in + done, static_cast<size_t>(count - done),
                               static_cast<off_t>(offset + done));
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return false;
    done += n;
  }
  return true;
}
