#pragma once
// TTimelineFeed: the runs of the open archive (timeline/) for the playback
// window's timeline strip and its jumps to events. Each showing of the window
// that opened the archive builds them on a thread of its own from the
// volumes' index entries (TimelineBuilder), volume by volume; the runs found
// are handed to the window's thread by queued calls, at most a few times a
// second, so the strip fills in as the volumes are read. Once every volume
// is read, the thread reads on every few seconds in volumes a recorder is
// still filling, from where it was; it builds afresh when a ring has dropped
// what it had read. Hiding the window, a new showing or the window's end
// stops the thread.

#include <QObject>

#include <cstdint>
#include <thread>

#include "archive/VolumeList.h"
#include "timeline/TimelineRuns.h"

class TArchView;

class TTimelineFeed final : public QObject {
  Q_OBJECT

 public:
  // How often the thread hands its runs over while it reads, and how long
  // it waits between readings on, in milliseconds.
  static constexpr int HandOverMs = 100;
  static constexpr int ReadOnMs = 2000;

  // Owned by window.
  explicit TTimelineFeed(TArchView& window);
  ~TTimelineFeed() override;

  // Forgets the runs and builds them anew from volumes.
  void Start(VolumeList volumes);
  void Stop();

  // The runs found so far (gap of 5 s), on the window's thread.
  const TimelineRuns& Runs() const { return runs_; }
  // While the first reading lasts, the share of the volumes read (0 … 1);
  // -1 once every volume is read or when there is nothing to read.
  double Progress() const { return progress_; }

 signals:
  // A building began: the runs are empty again.
  void Started();
  // The runs or the progress changed.
  void Changed();

 private:
  // What the thread hands over: the lanes changed since its last delivery,
  // whether they start a fresh building, and the progress.
  struct Delivery {
    TimelineChanges changes;
    bool fresh = false;
    double progress = -1.0;
  };
  // Runs on the window's thread: what building number build found.
  void Take(const Delivery& delivery, std::uint64_t build);

  TimelineRuns runs_;
  double progress_ = -1.0;
  // Tells a stopped build's late deliveries from the present one's.
  std::uint64_t build_ = 0;
  std::jthread worker_;
};
