#include "archive/FileHandle.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
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
  failure_ = Failure::System;
  // Not blocking: opening a FIFO for reading would otherwise wait for a
  // writer that never comes. The file is checked before anything is read.
  const int flags = (mode == Mode::ReadOnly ? O_RDONLY : O_RDWR) | O_CLOEXEC | O_NONBLOCK;
  int fd;
  do {
    fd = ::open(path.c_str(), flags);  // no O_CREAT: a missing file stays missing
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    errno_ = errno;
    return false;
  }
  // Only regular files are volumes or frames; a folder, a FIFO or a device
  // would make reads fail oddly, block or never end.
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    errno_ = errno;
    ::close(fd);
    return false;
  }
  if (!S_ISREG(st.st_mode)) {
    failure_ = S_ISDIR(st.st_mode) ? Failure::Folder : Failure::NotRegularFile;
    ::close(fd);
    return false;
  }
  // O_NONBLOCK stays: on a regular file reads and writes ignore it, and
  // clearing it would cost two calls at every open (a seek opens every
  // listed volume).
  fd_ = fd;
  failure_ = Failure::None;
  return true;
}

std::string FileHandle::FailureText() const {
  switch (failure_) {
    case Failure::None: return "";
    case Failure::Folder: return "is a folder";
    case Failure::NotRegularFile: return "not a regular file";
    case Failure::System: break;
  }
  return errno_ != 0 ? std::strerror(errno_) : "error";
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
