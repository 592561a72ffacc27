#include "view/PictureWorkers.h"

#include <pthread.h>

#include <algorithm>

#include "decode/FrameDecoder.h"

PictureWorkers::PictureWorkers(int threads) {
  threads = std::max(0, threads);
  for (int i = 0; i < threads * kSlotsPerThread; ++i) slots_.push_back(std::make_unique<Slot>());
  for (int i = 0; i < threads; ++i) {
    decoders_.push_back(std::make_unique<FrameDecoder>());
    makers_.push_back(std::make_unique<CellPictureMaker>(*decoders_.back()));
  }
  for (int i = 0; i < threads; ++i) threads_.emplace_back([this, i] { Work(i); });
}

PictureWorkers::~PictureWorkers() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    ending_ = true;
    queue_.clear();
  }
  queued_.notify_all();
  for (std::thread& thread : threads_) thread.join();
}

int PictureWorkers::SlotsInUse() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  int used = 0;
  for (const auto& slot : slots_) used += slot->state != State::Free ? 1 : 0;
  return used;
}

std::size_t PictureWorkers::HeldBytes() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  // What is being made is the threads' own just now: left out.
  std::size_t bytes = 0;
  bool making = false;
  for (const auto& slot : slots_) {
    if (slot->state == State::Making) {
      making = true;
      continue;
    }
    bytes += slot->stream.Capacity() + std::size_t(slot->picture.bitmap.sizeInBytes() +
                                                   slot->picture.shown.sizeInBytes());
  }
  if (!making)
    for (const auto& maker : makers_) bytes += maker->HeldBytes();
  return bytes;
}

int PictureWorkers::Acquire() {
  const std::lock_guard<std::mutex> lock(mutex_);
  for (std::size_t i = 0; i < slots_.size(); ++i) {
    Slot& slot = *slots_[i];
    if (slot.state != State::Free) continue;
    slot.state = State::Filling;
    slot.dropped = false;
    slot.stream.Clear();
    return static_cast<int>(i);
  }
  return -1;
}

void PictureWorkers::Submit(int slot, QSize shown, int largestScale) {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    Slot& s = *slots_[std::size_t(slot)];
    s.shown = shown;
    s.largestScale = largestScale;
    s.state = State::Queued;
    queue_.push_back(slot);
  }
  queued_.notify_one();
}

CellPicture& PictureWorkers::Collect(int slot, CellPictureMaker& here) {
  Slot& s = *slots_[std::size_t(slot)];
  std::unique_lock<std::mutex> lock(mutex_);
  if (s.state == State::Queued) {
    // No thread has begun it: made here, rather than waiting for one.
    queue_.erase(std::find(queue_.begin(), queue_.end(), slot));
    s.state = State::Making;
    lock.unlock();
    here.Make(s.stream, s.shown, s.largestScale, s.picture);
    lock.lock();
    s.state = State::Made;
    return s.picture;
  }
  made_.wait(lock, [&] { return s.state != State::Making; });
  return s.picture;
}

void PictureWorkers::Release(int slot) {
  const std::lock_guard<std::mutex> lock(mutex_);
  Slot& s = *slots_[std::size_t(slot)];
  switch (s.state) {
    case State::Queued:
      queue_.erase(std::find(queue_.begin(), queue_.end(), slot));
      s.state = State::Free;
      break;
    case State::Making:
      s.dropped = true;  // the thread making it frees it
      break;
    default:
      s.state = State::Free;
      break;
  }
}

void PictureWorkers::Work(int thread) {
  // Named, so a profile or a debugger tells the workers apart.
  pthread_setname_np(pthread_self(), "orx-pictures");
  CellPictureMaker& maker = *makers_[std::size_t(thread)];
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    queued_.wait(lock, [&] { return ending_ || !queue_.empty(); });
    if (ending_) return;
    const int slot = queue_.front();
    queue_.pop_front();
    Slot& s = *slots_[std::size_t(slot)];
    s.state = State::Making;
    lock.unlock();
    maker.Make(s.stream, s.shown, s.largestScale, s.picture);
    lock.lock();
    if (s.dropped) {
      s.dropped = false;
      s.state = State::Free;
    } else {
      s.state = State::Made;
    }
    made_.notify_all();
  }
}
