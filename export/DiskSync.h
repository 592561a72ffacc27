#pragma once
// Putting the files an export made on disk.

#include <string>

// Starts writing the file's data to disk without waiting for it.
void StartWriteBack(int fd);

// Waits until the data of the (closed) file at path is on disk. False when
// it cannot be opened or the disk reports a failure.
bool SyncFileToDisk(const std::string& path);
