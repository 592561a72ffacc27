#include "archview/TimelineFeed.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <utility>

#include "archview/ArchView.h"
#include "archview/ShowingWatch.h"
#include "timeline/TimelineBuilder.h"

namespace {

using SteadyClock = std::chrono::steady_clock;

// Waits ms or until a stop is requested; false on the stop.
bool WaitUnlessStopped(std::stop_token stop, int ms) {
  std::mutex mutex;
  std::condition_variable_any wake;
  std::unique_lock lock(mutex);
  wake.wait_for(lock, stop, std::chrono::milliseconds(ms), [] { return false; });
  return !stop.stop_requested();
}

}  // namespace

TTimelineFeed::TTimelineFeed(TArchView& window) : QObject(&window) {
  new TShowingWatch(
      window, *this, [this](VolumeList volumes) { Start(std::move(volumes)); }, [this] { Stop(); });
}

TTimelineFeed::~TTimelineFeed() { Stop(); }

void TTimelineFeed::Stop() {
  if (!worker_.joinable()) return;
  // The thread looks at the request between volumes and between its reads
  // of 256 KiB: a short wait.
  worker_.request_stop();
  worker_.join();
}

void TTimelineFeed::Start(VolumeList volumes) {
  Stop();
  const std::uint64_t build = ++build_;
  runs_ = TimelineRuns();
  progress_ = volumes.empty() ? -1.0 : 0.0;
  emit Started();
  emit Changed();
  if (volumes.empty()) return;
  worker_ = std::jthread([this, build, volumes = std::move(volumes)](std::stop_token stop) {
    // Safe from this thread: the call is queued to the window's thread, and
    // this object outlives the thread (Stop joins it).
    const auto handOver = [this, build](Delivery delivery) {
      QMetaObject::invokeMethod(
          this, [this, build, delivery = std::move(delivery)] { Take(delivery, build); },
          Qt::QueuedConnection);
    };
    for (;;) {  // each pass builds afresh
      TimelineBuilder builder(volumes);
      bool fresh = true;
      auto handed = SteadyClock::now();
      while (builder.Step()) {
        if (stop.stop_requested()) return;
        const bool last = builder.VolumesRead() == builder.VolumeCount();
        if (!last && SteadyClock::now() - handed < std::chrono::milliseconds(HandOverMs))
          continue;
        const double progress =
            last ? -1.0 : double(builder.VolumesRead()) / double(builder.VolumeCount());
        handOver({builder.TakeChanges(), fresh, progress});
        fresh = false;
        handed = SteadyClock::now();
      }
      // Every volume read: on to what a recorder adds.
      for (;;) {
        if (!WaitUnlessStopped(stop, ReadOnMs)) return;
        if (builder.ReadOn().dropped) break;
        TimelineChanges changes = builder.TakeChanges();
        if (!changes.empty()) handOver({std::move(changes), false, -1.0});
      }
    }
  });
}

void TTimelineFeed::Take(const Delivery& delivery, std::uint64_t build) {
  if (build != build_) return;
  // A building afresh forgets the records a ring no longer holds.
  if (delivery.fresh) runs_ = TimelineRuns();
  runs_.Apply(delivery.changes);
  progress_ = delivery.progress;
  emit Changed();
}
