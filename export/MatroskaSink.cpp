#include "export/MatroskaSink.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "archive/OrxWrite.h"
#include "common/DateTime.h"
#include "export/JpegFrameSize.h"

namespace {

// "camera-3.mkv", then "camera-3-2.mkv", ...
std::string FileName(int cameraNumber, int nth) {
  return "camera-" + std::to_string(cameraNumber) +
         (nth == 1 ? std::string() : "-" + std::to_string(nth)) + ".mkv";
}

}  // namespace

MatroskaSink::MatroskaSink(std::string folder, double fragmentEnd)
    : FrameSink(/*keepFirstFrames=*/true), folder_(std::move(folder)), fragmentEnd_(fragmentEnd) {}

MatroskaSink::~MatroskaSink() { Close(); }

std::string MatroskaSink::Caption(std::int32_t camera, double time) {
  // Two blanks apart, as the cells' hints set the camera off.
  return "Камера " + std::to_string(camera + 1) + "  " + FormatDateTimeDotted(time);
}

std::int64_t MatroskaSink::Milliseconds(double time) const {
  return std::llround((time - firstTime_) * MillisecondsPerDay);
}

void MatroskaSink::FinishFile(std::size_t camera, double untilTime) {
  std::unique_ptr<MatroskaFile>& file = open_[camera];
  if (!file) return;
  if (!file->Finish(Milliseconds(untilTime))) finishFailed_ = true;
  file.reset();
  Finished(openPath_[camera]);
}

bool MatroskaSink::Append(std::int32_t camera, std::uint32_t, double time, std::int32_t length) {
  if (camera < 0 || camera >= CameraCount || length <= 0 || length > ExportBufferSize) return false;
  if (!started_) {
    started_ = true;
    firstTime_ = time;
  }
  const auto c = static_cast<std::size_t>(camera);
  std::unique_ptr<MatroskaFile>& file = open_[c];
  FrameSize size;
  const bool sized = ReadJpegFrameSize(ExportBuffer.data(), static_cast<std::size_t>(length), size);
  // The camera's picture goes on in the next file from this frame's time.
  if (sized && file && (file->Width() != size.width || file->Height() != size.height))
    FinishFile(c, time);
  if (!file) {
    if (!sized) {
      ++leftOut_;
      return true;
    }
    int& made = made_[c];
    const std::string path = folder_ + "/" + FileName(camera + 1, made + 1);
    file = MatroskaFile::Create(
        path, size.width, size.height,
        {FormatDateTimeIso(firstTime_), "camera " + std::to_string(camera + 1)});
    if (!file) return false;
    ++made;
    files_.push_back(path);
    openPath_[c] = path;
  }
  const std::int64_t ms = std::max(Milliseconds(time), file->LastMilliseconds());
  // The frame is kept in the file even when the one before it could not be
  // written.
  const bool written = file->Write(ExportBuffer.data(), length, ms, Caption(camera, time));
  Count(openPath_[c], camera, time, ExportBuffer.data(), length);
  return written;
}

bool MatroskaSink::Close() {
  for (std::size_t c = 0; c < open_.size(); ++c) FinishFile(c, fragmentEnd_);
  return !finishFailed_;
}
