#include "export/DiskSync.h"

#include <fcntl.h>
#include <unistd.h>

void StartWriteBack(int fd) {
  // Only a head start: a failure shows in the wait at the end.
  ::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);
}

bool SyncFileToDisk(const std::string& path) {
  // The file's dirty pages belong to its inode, whichever descriptor wrote
  // them.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = ::fdatasync(fd) == 0;
  ::close(fd);
  return synced;
}
