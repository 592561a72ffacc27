#include "archview/RecordedCamerasScan.h"

#include <utility>

#include "archive/OrxRead.h"
#include "archive/RecordedCameras.h"
#include "archview/ArchView.h"
#include "archview/ShowingWatch.h"

TRecordedCamerasScan::TRecordedCamerasScan(TArchView& window) : QObject(&window), window_(window) {
  new TShowingWatch(
      window, *this,
      [this](VolumeList volumes) {
        if (volumes.empty())
          window_.MarkRecordedCameras(0);
        else
          Start(std::move(volumes));
      },
      [this] { Stop(); });
}

TRecordedCamerasScan::~TRecordedCamerasScan() { Stop(); }

void TRecordedCamerasScan::Stop() {
  if (!worker_.joinable()) return;
  // The thread looks at the request between chunks of 32 KiB: a short wait.
  worker_.request_stop();
  worker_.join();
}

void TRecordedCamerasScan::Start(VolumeList volumes) {
  Stop();
  const std::uint64_t scan = ++scan_;
  window_.MarkRecordedCameras(0);
  worker_ = std::jthread([this, scan, volumes = std::move(volumes)](std::stop_token stop) {
    std::uint32_t cameras = 0;
    for (const std::string& path : volumes) {
      const std::uint32_t more = CamerasRecorded(path, stop);
      if (stop.stop_requested()) return;
      if ((cameras | more) == cameras) continue;
      cameras |= more;
      // Safe from this thread: the call is queued to the window's thread,
      // and this object outlives the thread (Stop joins it).
      QMetaObject::invokeMethod(
          this, [this, cameras, scan] { Found(cameras, scan); }, Qt::QueuedConnection);
    }
  });
}

void TRecordedCamerasScan::Found(std::uint32_t cameras, std::uint64_t scan) {
  if (scan == scan_) window_.MarkRecordedCameras(cameras);
}
