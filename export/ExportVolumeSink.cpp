#include "export/ExportVolumeSink.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <utility>

#include "export/DiskSync.h"
#include "export/ExportNames.h"

namespace {

bool Exists(const std::string& path) {
  struct stat info;
  return ::lstat(path.c_str(), &info) == 0;
}

// Gives a file its whole size as blocks on disk. A file system that cannot
// reserve gets the size only.
bool Reserve(int fd, std::int64_t size) {
  const int error = ::posix_fallocate(fd, 0, size);
  if (error == 0) return true;
  if (error != EOPNOTSUPP && error != EINVAL) return false;
  return ::ftruncate(fd, size) == 0;
}

// Renames from to to unless to exists. False with errno EEXIST when it does.
bool RenameNoReplace(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
    return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  // A file system without the no-replace rename: the folder is this
  // export's own, so a look first is enough.
  if (Exists(to)) {
    errno = EEXIST;
    return false;
  }
  return ::rename(from.c_str(), to.c_str()) == 0;
}

}  // namespace

void ExportVolumeSink::Descriptor::Reset(int fd) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = fd;
}

ExportVolumeSink::ExportVolumeSink(std::string folder) : folder_(std::move(folder)) {}

ExportVolumeSink::~ExportVolumeSink() { Close(); }

bool ExportVolumeSink::Append(std::int32_t camera, std::uint32_t kinds, double time,
                              std::int32_t length) {
  for (;;) {
    if (!volumeOpen_ && !MakeVolume(time)) return false;
    if (writer_.Append(camera, static_cast<std::int32_t>(kinds), time, length) >= 1) {
      volumeEmpty_ = false;
      Count(volumes_.back(), camera, time, ExportBuffer.data(), length);
      return true;
    }
    // Refused or not written: this volume is done.
    const bool wasEmpty = volumeEmpty_;
    FinishVolume();
    if (wasEmpty) {
      // A new volume could not take it either: making more would never end.
      ::unlink(volumes_.back().c_str());
      volumes_.pop_back();
      return false;
    }
    Finished(volumes_.back());
  }
}

bool ExportVolumeSink::Close() {
  if (volumeOpen_) {
    FinishVolume();
    Finished(volumes_.back());
  }
  // Most of it is on disk already: each volume's write-back began when it
  // was finished, while the next one filled.
  for (; synced_ < volumes_.size(); ++synced_)
    if (!SyncFileToDisk(volumes_[synced_])) flushFailed_ = true;
  return !flushFailed_;
}

bool ExportVolumeSink::MakeVolume(double firstFrameTime) {
  const std::string making =
      folder_ + "/" + ExportVolumeStem(firstFrameTime) + ExportVolumeExtension + ".part";
  const int fd = ::open(making.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  volumeFile_.Reset(fd);
  std::string path;
  if (Reserve(fd, ExportVolumeSize) && writer_.Open(making))
    path = NameVolume(making, firstFrameTime);
  if (path.empty()) {
    writer_.Close();
    volumeFile_.Reset();
    ::unlink(making.c_str());
    return false;
  }
  volumes_.push_back(path);
  volumeOpen_ = true;
  volumeEmpty_ = true;
  return true;
}

std::string ExportVolumeSink::NameVolume(const std::string& making,
                                         double firstFrameTime) const {
  const std::string stem = folder_ + "/" + ExportVolumeStem(firstFrameTime);
  for (int n = 1; n < 1000; ++n) {
    const std::string path =
        (n == 1 ? stem : stem + " (" + std::to_string(n) + ")") + ExportVolumeExtension;
    if (RenameNoReplace(making, path)) return path;
    if (errno != EEXIST) return std::string();
  }
  return std::string();
}

void ExportVolumeSink::FinishVolume() {
  writer_.Close();
  // The writer writes straight to the file; its frames go to disk from
  // here on, and Close waits for them.
  if (volumeFile_.Get() >= 0) StartWriteBack(volumeFile_.Get());
  volumeFile_.Reset();
  volumeOpen_ = false;
}
