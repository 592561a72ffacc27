#include "export/MatroskaFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>

#include "export/DiskSync.h"
#include "export/Libav.h"

namespace {

constexpr AVRational kMilliseconds{1, 1000};
constexpr int kVideo = 0;
constexpr int kCaptions = 1;
// The last frame's duration when the file has no interval to go by.
constexpr std::int64_t kUnknownInterval = 1000;

}  // namespace

// Both hold objects that exist only once libavformat is loaded.
void MatroskaFile::ContextFree::operator()(AVFormatContext* context) const {
  if (context->pb) Libav()->avio_closep(&context->pb);
  Libav()->avformat_free_context(context);
}

void MatroskaFile::PacketFree::operator()(AVPacket* packet) const {
  Libav()->av_packet_free(&packet);
}

MatroskaFile::MatroskaFile(std::string path, int width, int height)
    : path_(std::move(path)), width_(width), height_(height) {}

MatroskaFile::~MatroskaFile() {
  if (!finished_) Finish(std::numeric_limits<std::int64_t>::max());
}

std::unique_ptr<MatroskaFile> MatroskaFile::Create(const std::string& path, int width, int height,
                                                   const Tags& tags) {
  const LibavFunctions* av = Libav();
  if (!av) return nullptr;
  // Only the muxer's own errors reach standard error.
  av->av_log_set_level(AV_LOG_ERROR);
  // Made here first, so an existing file is never replaced; libavformat
  // then opens it as it stands, empty.
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return nullptr;
  ::close(fd);
  std::unique_ptr<MatroskaFile> file(new MatroskaFile(path, width, height));
  AVFormatContext* context = nullptr;
  if (av->avformat_alloc_output_context2(&context, nullptr, "matroska", nullptr) < 0 || !context) {
    ::unlink(path.c_str());
    return nullptr;
  }
  file->context_.reset(context);
  context->flags |= AVFMT_FLAG_BITEXACT;
  av->av_dict_set(&context->metadata, "DATE_RECORDED", tags.recorded.c_str(), 0);
  av->av_dict_set(&context->metadata, "TITLE", tags.title.c_str(), 0);
  AVStream* video = av->avformat_new_stream(context, nullptr);
  AVStream* captions = av->avformat_new_stream(context, nullptr);
  file->packet_.reset(av->av_packet_alloc());
  // "file:" keeps a name with a colon from being taken for a protocol.
  const std::string url = "file:" + path;
  bool made = video && captions && file->packet_ &&
              av->avio_open(&context->pb, url.c_str(), AVIO_FLAG_WRITE) >= 0;
  if (made) {
    video->time_base = kMilliseconds;
    video->disposition = AV_DISPOSITION_DEFAULT;
    AVCodecParameters* codec = video->codecpar;
    codec->codec_type = AVMEDIA_TYPE_VIDEO;
    codec->codec_id = AV_CODEC_ID_MJPEG;
    codec->width = width;
    codec->height = height;
    captions->time_base = kMilliseconds;
    captions->disposition = AV_DISPOSITION_DEFAULT;
    captions->codecpar->codec_type = AVMEDIA_TYPE_SUBTITLE;
    captions->codecpar->codec_id = AV_CODEC_ID_SUBRIP;
    av->av_dict_set(&captions->metadata, "language", "rus", 0);
    av->av_dict_set(&captions->metadata, "title", "Время записи", 0);
    made = av->avformat_write_header(context, nullptr) >= 0;
  }
  if (!made) {
    file->finished_ = true;
    file->context_.reset();
    ::unlink(path.c_str());
    return nullptr;
  }
  return file;
}

bool MatroskaFile::Write(const std::uint8_t* bytes, std::int32_t length,
                         std::int64_t milliseconds, const std::string& caption) {
  if (finished_ || length <= 0) return false;
  bool written = true;
  if (pending_) {
    const std::int64_t interval = milliseconds - last_;
    if (interval > 0) {
      if (recent_.size() < kRecentIntervals) {
        recent_.push_back(interval);
      } else {
        recent_[recentNext_] = interval;
        recentNext_ = (recentNext_ + 1) % kRecentIntervals;
      }
    }
    written = WritePending(interval);
  }
  pendingBytes_.assign(bytes, bytes + length);
  pendingCaption_ = caption;
  pending_ = true;
  last_ = milliseconds;
  return written;
}

bool MatroskaFile::WritePending(std::int64_t duration) {
  pending_ = false;
  const LibavFunctions* av = Libav();
  AVPacket* packet = packet_.get();
  // A caption of no duration would never be seen.
  duration = std::max<std::int64_t>(duration, 1);
  const auto put = [&](int stream, std::uint8_t* data, std::size_t size) {
    // Not owned by the packet: av_write_frame writes it out before
    // returning.
    packet->data = data;
    packet->size = static_cast<int>(size);
    packet->stream_index = stream;
    packet->pts = packet->dts = last_;
    packet->duration = duration;
    packet->flags = AV_PKT_FLAG_KEY;  // every JPEG frame stands alone
    const bool done = av->av_write_frame(context_.get(), packet) >= 0;
    packet->data = nullptr;
    packet->size = 0;
    return done;
  };
  const bool video = put(kVideo, pendingBytes_.data(), pendingBytes_.size());
  return put(kCaptions, reinterpret_cast<std::uint8_t*>(pendingCaption_.data()),
             pendingCaption_.size()) &&
         video;
}

std::int64_t MatroskaFile::TypicalInterval() const {
  if (recent_.empty()) return 0;
  std::vector<std::int64_t> sorted = recent_;
  std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 2, sorted.end());
  return sorted[sorted.size() / 2];
}

std::int64_t MatroskaFile::LastFrameDuration(std::int64_t toEnd, std::int64_t typical) {
  return std::max<std::int64_t>(1, std::min(toEnd, typical > 0 ? typical : kUnknownInterval));
}

bool MatroskaFile::Finish(std::int64_t untilMilliseconds) {
  if (finished_) return true;
  finished_ = true;
  const std::int64_t toEnd = untilMilliseconds == std::numeric_limits<std::int64_t>::max()
                                 ? untilMilliseconds
                                 : untilMilliseconds - last_;
  bool done = !pending_ || WritePending(LastFrameDuration(toEnd, TypicalInterval()));
  done = Libav()->av_write_trailer(context_.get()) >= 0 && done;
  done = Libav()->avio_closep(&context_->pb) >= 0 && done;
  context_.reset();
  return SyncFileToDisk(path_) && done;
}
