#include "export/MatroskaFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <utility>

#include "export/DiskSync.h"
#include "export/Libav.h"

namespace {

constexpr AVRational kMilliseconds{1, 1000};

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
  if (!finished_) Finish();
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
  AVStream* stream = av->avformat_new_stream(context, nullptr);
  file->packet_.reset(av->av_packet_alloc());
  // "file:" keeps a name with a colon from being taken for a protocol.
  const std::string url = "file:" + path;
  bool made =
      stream && file->packet_ && av->avio_open(&context->pb, url.c_str(), AVIO_FLAG_WRITE) >= 0;
  if (made) {
    stream->time_base = kMilliseconds;
    AVCodecParameters* codec = stream->codecpar;
    codec->codec_type = AVMEDIA_TYPE_VIDEO;
    codec->codec_id = AV_CODEC_ID_MJPEG;
    codec->width = width;
    codec->height = height;
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
                         std::int64_t milliseconds) {
  if (finished_ || length <= 0) return false;
  const LibavFunctions* av = Libav();
  AVStream* stream = context_->streams[0];
  AVPacket* packet = packet_.get();
  // Not owned by the packet: av_write_frame writes it out before returning.
  packet->data = const_cast<std::uint8_t*>(bytes);
  packet->size = length;
  packet->stream_index = 0;
  packet->pts = packet->dts = av->av_rescale_q(milliseconds, kMilliseconds, stream->time_base);
  packet->duration = 0;
  packet->flags = AV_PKT_FLAG_KEY;  // every JPEG frame stands alone
  const bool written = av->av_write_frame(context_.get(), packet) >= 0;
  packet->data = nullptr;
  packet->size = 0;
  if (written) last_ = milliseconds;
  return written;
}

bool MatroskaFile::Finish() {
  if (finished_) return true;
  finished_ = true;
  bool done = Libav()->av_write_trailer(context_.get()) >= 0;
  done = Libav()->avio_closep(&context_->pb) >= 0 && done;
  context_.reset();
  return SyncFileToDisk(path_) && done;
}
