#include "archview/RecordedCamerasScan.h"

#include <QEvent>

#include <utility>

#include "archive/OrxRead.h"
#include "archive/RecordedCameras.h"
#include "archview/ArchView.h"

TRecordedCamerasScan::TRecordedCamerasScan(TArchView& window) : QObject(&window), window_(window) {
  window_.installEventFilter(this);
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

bool TRecordedCamerasScan::eventFilter(QObject* watched, QEvent* event) {
  if (watched != &window_ || event->spontaneous()) return false;
  if (event->type() == QEvent::Show) {
    // The window's showing opens the archive after this filter ran: the
    // scan starts once it is done.
    QMetaObject::invokeMethod(
        this,
        [this] {
          if (window_.Reader.IsOpen())
            Start(window_.Reader.Volumes());
          else
            window_.MarkRecordedCameras(0);
        },
        Qt::QueuedConnection);
  } else if (event->type() == QEvent::Hide) {
    Stop();
  }
  return false;
}
