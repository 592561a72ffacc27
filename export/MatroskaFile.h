#pragma once
// MatroskaFile: one Matroska file holding one Motion JPEG video stream,
// written by FFmpeg's libavformat. Each frame's JPEG bytes are stored
// unchanged as one packet (no decoding, no re-encoding), with its timestamp
// in milliseconds. The output is bit-exact: the same frames give the same
// file. libavformat is loaded on first use (export/Libav.h).

#include <cstdint>
#include <memory>
#include <string>

struct AVFormatContext;
struct AVPacket;

class MatroskaFile {
 public:
  // The file's tags: DATE_RECORDED (the local date-time its timestamps
  // count from, "2026-12-07 09:00:00.040") and TITLE.
  struct Tags {
    std::string recorded;
    std::string title;
  };

  // Makes a new file at path (never replacing one) whose video is
  // width x height. Null when it cannot be made or libavformat cannot be
  // loaded.
  static std::unique_ptr<MatroskaFile> Create(const std::string& path, int width, int height,
                                              const Tags& tags);
  // Finishes the file as Finish does when that was not done.
  ~MatroskaFile();
  MatroskaFile(const MatroskaFile&) = delete;
  MatroskaFile& operator=(const MatroskaFile&) = delete;

  // Appends one frame at milliseconds (not before the previous frame's).
  bool Write(const std::uint8_t* bytes, std::int32_t length, std::int64_t milliseconds);
  // Writes the index and the duration, closes the file and puts it on disk.
  bool Finish();

  int Width() const { return width_; }
  int Height() const { return height_; }
  std::int64_t LastMilliseconds() const { return last_; }

 private:
  MatroskaFile(std::string path, int width, int height);

  struct ContextFree {
    void operator()(AVFormatContext* context) const;
  };
  struct PacketFree {
    void operator()(AVPacket* packet) const;
  };

  std::string path_;
  int width_;
  int height_;
  std::int64_t last_ = 0;
  bool finished_ = false;
  std::unique_ptr<AVFormatContext, ContextFree> context_;
  std::unique_ptr<AVPacket, PacketFree> packet_;
};
