#pragma once
// FileHandle: an owned POSIX file descriptor with whole positioned reads and
// writes. Linux never locks other processes out, so a recorder can go on
// appending to a volume that is open here.

#include <cstdint>
#include <string>

class FileHandle {
 public:
  enum class Mode { ReadOnly, ReadWrite };

  FileHandle() = default;
  ~FileHandle() { Close(); }
  FileHandle(FileHandle&& other) noexcept;
  FileHandle& operator=(FileHandle&& other) noexcept;
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;

  // Why the last Open failed.
  enum class Failure { None, System, Folder, NotRegularFile };

  // Opens an existing regular file; never creates one, and never waits: a
  // FIFO or a device is refused without blocking. False on failure.
  bool Open(const std::string& path, Mode mode);
  Failure LastFailure() const { return failure_; }
  // "is a folder", "not a regular file" or the system's message.
  std::string FailureText() const;
  void Close();
  bool IsOpen() const { return fd_ >= 0; }

  // The file's present size (fstat), or -1 on failure. Asked afresh every
  // time: another process may truncate the file while it is open.
  std::int64_t Size() const;

  // Reads exactly count bytes at offset; false on a short read or an error.
  bool ReadAt(std::int64_t offset, void* buffer, std::int64_t count) const;
  // Writes exactly count bytes at offset; false on a short write or an error.
  bool WriteAt(std::int64_t offset, const void* buffer, std::int64_t count) const;

 private:
  int fd_ = -1;
  Failure failure_ = Failure::None;
  int errno_ = 0;
};
