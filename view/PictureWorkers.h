#pragma once
// PictureWorkers: threads that make cell pictures (view/CellPicture.h) of
// frames handed to them in slots, so the window's thread only shows them.
//
// A slot holds one frame's bytes and, once made, its picture; there are a
// few slots per thread and no more, so the memory read ahead stays bounded
// whatever the number of threads. The window's thread fills a free slot,
// submits it, and collects it when its frame is due: a slot no thread has
// begun is made by the collecting thread itself; one being made is waited
// for, on a condition no lock is held across (a thread holds the lock only
// to take a slot or hand one back, never while decoding). Slots are made in
// the order submitted. Releasing a slot drops its frame: one not begun is
// never made, one being made is thrown away when made.
//
// Everything but the making runs on the thread that owns the object.

#include <QSize>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "common/FrameStream.h"
#include "view/CellPicture.h"

class FrameDecoder;

class PictureWorkers {
 public:
  // Slots each thread may have read ahead.
  static constexpr int kSlotsPerThread = 4;

  // threads: 0 makes every picture on the collecting thread (no slots).
  explicit PictureWorkers(int threads);
  // Waits for the pictures being made, then ends the threads.
  ~PictureWorkers();
  PictureWorkers(const PictureWorkers&) = delete;
  PictureWorkers& operator=(const PictureWorkers&) = delete;

  int Threads() const { return static_cast<int>(threads_.size()); }
  int Slots() const { return static_cast<int>(slots_.size()); }
  // Slots not free.
  int SlotsInUse() const;
  // Bytes the slots and the threads' scalers hold now (those at work
  // left out).
  std::size_t HeldBytes() const;

  // A free slot, or -1 when every slot is taken. Its stream is empty and
  // the caller's until Submit.
  int Acquire();
  FrameStream& StreamOf(int slot) { return slots_[std::size_t(slot)]->stream; }
  // Queues the slot's frame to be made for a cell shown at shown, decoded
  // at no smaller than 1/largestScale (CellPictureMaker::Make).
  void Submit(int slot, QSize shown, int largestScale);
  // The slot's picture, made by a thread or by here now. Valid until
  // Release; the caller may take its buffers.
  CellPicture& Collect(int slot, CellPictureMaker& here);
  // The slot is free again, its frame dropped.
  void Release(int slot);

 private:
  enum class State { Free, Filling, Queued, Making, Made };
  struct Slot {
    State state = State::Free;
    bool dropped = false;  // released while being made
    FrameStream stream;
    QSize shown;
    int largestScale = 1;
    CellPicture picture;
  };
  void Work(int thread);

  std::vector<std::unique_ptr<Slot>> slots_;
  std::vector<std::unique_ptr<FrameDecoder>> decoders_;
  std::vector<std::unique_ptr<CellPictureMaker>> makers_;
  mutable std::mutex mutex_;
  std::condition_variable queued_;  // a slot was queued, or the end came
  std::condition_variable made_;    // a slot was made
  std::deque<int> queue_;           // queued slots, oldest first
  bool ending_ = false;
  std::vector<std::thread> threads_;
};
