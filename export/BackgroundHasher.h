#pragma once
// BackgroundHasher: SHA-256 of an export's files, taken while the export
// goes on. A file is handed over the moment it is complete; worker threads
// (one per core beyond the first) hash it while the next one fills, and at
// the end the caller's thread takes its share of whatever is left.

#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class BackgroundHasher {
 public:
  BackgroundHasher();
  // Stops after the file in hand; what is queued is dropped.
  ~BackgroundHasher();
  BackgroundHasher(const BackgroundHasher&) = delete;
  BackgroundHasher& operator=(const BackgroundHasher&) = delete;

  // A file that is complete: nothing is written to it any more.
  void Add(const std::string& path);

  // The digest of each of files, in their order (Sha256OfFile's text; empty
  // when a file cannot be hashed). Files never added are hashed now, on
  // this thread and the workers' both.
  std::vector<std::string> Digests(const std::vector<std::string>& files);

 private:
  void Work();
  // Hashes path with the lock released; lock is held before and after.
  void Hash(const std::string& path, std::unique_lock<std::mutex>& lock);

  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::string> queue_;
  std::map<std::string, std::string> digests_;  // hashed, or being hashed while absent
  std::map<std::string, int> inHand_;           // paths being hashed now
  bool stopping_ = false;
  std::vector<std::thread> workers_;  // last: started when everything they use exists
};
