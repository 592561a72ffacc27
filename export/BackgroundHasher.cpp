#include "export/BackgroundHasher.h"

#include <algorithm>
#include <system_error>

#include "export/ChecksumManifest.h"

BackgroundHasher::BackgroundHasher() {
  // The export itself keeps one core busy.
  const unsigned cores = std::thread::hardware_concurrency();
  try {
    for (unsigned i = 0; i < std::max(1u, cores > 1 ? cores - 1 : 1u); ++i)
      workers_.emplace_back([this] { Work(); });
  } catch (const std::system_error&) {
    // Fewer threads, or none: Digests hashes what is left on its own thread.
  }
}

BackgroundHasher::~BackgroundHasher() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  for (std::thread& worker : workers_) worker.join();
}

void BackgroundHasher::Add(const std::string& path) {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    // A path made again is a new file.
    digests_.erase(path);
    queue_.push_back(path);
  }
  changed_.notify_all();
}

void BackgroundHasher::Hash(const std::string& path, std::unique_lock<std::mutex>& lock) {
  ++inHand_[path];
  lock.unlock();
  std::string digest = Sha256OfFile(path);
  lock.lock();
  if (--inHand_[path] == 0) inHand_.erase(path);
  digests_[path] = std::move(digest);
  changed_.notify_all();
}

void BackgroundHasher::Work() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
    if (stopping_) return;
    const std::string path = std::move(queue_.front());
    queue_.pop_front();
    Hash(path, lock);
  }
}

std::vector<std::string> BackgroundHasher::Digests(const std::vector<std::string>& files) {
  std::unique_lock<std::mutex> lock(mutex_);
  for (const std::string& path : files)
    if (!digests_.count(path) && !inHand_.count(path) &&
        std::find(queue_.begin(), queue_.end(), path) == queue_.end())
      queue_.push_back(path);
  changed_.notify_all();
  const auto allHashed = [&] {
    return std::all_of(files.begin(), files.end(),
                       [&](const std::string& path) { return digests_.count(path) > 0; });
  };
  while (!allHashed()) {
    if (queue_.empty()) {
      changed_.wait(lock);
      continue;
    }
    // Rather than wait for the worker, hash beside it.
    const std::string path = std::move(queue_.front());
    queue_.pop_front();
    Hash(path, lock);
  }
  std::vector<std::string> result;
  for (const std::string& path : files) result.push_back(digests_[path]);
  return result;
}
