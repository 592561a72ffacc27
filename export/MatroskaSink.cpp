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

MatroskaSink::MatroskaSink(std::string folder) : folder_(std::move(folder)) {}

MatroskaSink::~MatroskaSink() { Close(); }

bool MatroskaSink::Append(std::int32_t camera, std::uint32_t, double time, std::int32_t length) {
  if (camera < 0 || camera >= CameraCount || length <= 0 || length > ExportBufferSize) return false;
  if (!started_) {
    started_ = true;
    firstTime_ = time;
  }
  std::unique_ptr<MatroskaFile>& file = open_[static_cast<std::size_t>(camera)];
  FrameSize size;
  const bool sized = ReadJpegFrameSize(ExportBuffer.data(), static_cast<std::size_t>(length), size);
  if (sized && file && (file->Width() != size.width || file->Height() != size.height)) {
    if (!file->Finish()) finishFailed_ = true;
    file.reset();
  }
  if (!file) {
    if (!sized) {
      ++leftOut_;
      return true;
    }
    int& made = made_[static_cast<std::size_t>(camera)];
    const std::string path = folder_ + "/" + FileName(camera + 1, made + 1);
    file = MatroskaFile::Create(
        path, size.width, size.height,
        {FormatDateTimeIso(firstTime_), "camera " + std::to_string(camera + 1)});
    if (!file) return false;
    ++made;
    files_.push_back(path);
  }
  const std::int64_t ms = std::max<std::int64_t>(
      std::llround((time - firstTime_) * MillisecondsPerDay), file->LastMilliseconds());
  return file->Write(ExportBuffer.data(), length, ms);
}

bool MatroskaSink::Close() {
  for (std::unique_ptr<MatroskaFile>& file : open_) {
    if (file && !file->Finish()) finishFailed_ = true;
    file.reset();
  }
  return !finishFailed_;
}
