#pragma once
// TRecordedCamerasScan: marks in the camera menu the cameras the open
// archive holds records of, so those outside the grid are not forgotten.
// Each showing of the window that opened the archive starts a scan of every
// listed volume's index on a thread of its own (archive/RecordedCameras.h);
// the marks grow as the volumes are read, handed back to the window's thread
// by queued calls. Hiding the window, a new showing or the window's end
// stops the scan.

#include <QObject>

#include <cstdint>
#include <thread>

#include "archive/VolumeList.h"

class TArchView;

class TRecordedCamerasScan final : public QObject {
  Q_OBJECT

 public:
  // Owned by window.
  explicit TRecordedCamerasScan(TArchView& window);
  ~TRecordedCamerasScan() override;

  // Clears the marks and scans volumes anew.
  void Start(VolumeList volumes);
  void Stop();

 private:
  // Runs on the window's thread: the cameras found so far by scan number
  // scan.
  void Found(std::uint32_t cameras, std::uint64_t scan);

  TArchView& window_;
  // Tells a stopped scan's late results from the present one's.
  std::uint64_t scan_ = 0;
  std::jthread worker_;
};
