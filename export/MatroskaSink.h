#pragma once
// MatroskaSink: a fragment export as video files that any player opens, one
// Matroska file of Motion JPEG per camera, "camera-N.mkv" with N the
// viewer's camera number (stored number + 1).
//
// Each frame's JPEG bytes go in unchanged, so every picture stays the
// recorder's own; its timestamp is its recorded time in milliseconds from
// the fragment's first frame, whose local date-time each file carries as
// DATE_RECORDED. A frame whose time lies before its file's previous frame
// (an archive whose rings overlap) is given that frame's timestamp. Every
// frame carries a caption with its camera and recorded time
// ("Камера 3  07.12.2026 09:00:05.040"), which players show as subtitles
// while the frame is on screen. A file's last frame lasts until the
// fragment's end, or its typical frame interval when that is shorter.
//
// Players handle a picture size that changes in the middle of a Motion JPEG
// stream badly, so when a camera's frames change size the camera goes on in
// a new file, "camera-N-2.mkv", "camera-N-3.mkv", ... on the same timeline.
// A frame whose size cannot be read from its header goes into its camera's
// open file; when its camera has none yet it cannot be put into a video
// file and is counted as left out.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/CameraMask.h"
#include "export/FrameSink.h"
#include "export/MatroskaFile.h"

class MatroskaSink final : public FrameSink {
 public:
  // folder: the export folder, without a trailing separator. fragmentEnd:
  // the end of the interval exported. Nothing is made until the first
  // Append.
  MatroskaSink(std::string folder, double fragmentEnd);
  ~MatroskaSink() override;

  // False when a file cannot be made or written; the export ends.
  bool Append(std::int32_t camera, std::uint32_t kinds, double time, std::int32_t length) override;
  bool Close() override;
  const std::vector<std::string>& Files() const override { return files_; }
  std::int64_t FramesLeftOut() const override { return leftOut_; }

  // "Камера 3  07.12.2026 09:00:05.040" for stored camera 2.
  static std::string Caption(std::int32_t camera, double time);

 private:
  // Finishes camera's open file, its last frame lasting until untilTime at
  // most.
  void FinishFile(std::size_t camera, double untilTime);
  std::int64_t Milliseconds(double time) const;

  std::string folder_;
  double fragmentEnd_;
  bool started_ = false;
  double firstTime_ = 0.0;
  std::array<std::unique_ptr<MatroskaFile>, CameraCount> open_;
  std::array<std::string, CameraCount> openPath_;
  std::array<int, CameraCount> made_{};  // files made per camera
  std::vector<std::string> files_;
  std::int64_t leftOut_ = 0;
  bool finishFailed_ = false;
};
