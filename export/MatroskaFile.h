#pragma once
// MatroskaFile: one Matroska file holding one Motion JPEG video stream and
// a subtitle stream of captions, written by FFmpeg's libavformat. Each
// frame's JPEG bytes are stored unchanged as one packet (no decoding, no
// re-encoding), with its timestamp in milliseconds; its caption (SubRip
// text) is shown from that timestamp until the next frame's. Both streams
// are marked default, so players show the captions without being asked.
// The output is bit-exact: the same frames give the same file. libavformat
// is loaded on first use (export/Libav.h).
//
// A frame is written once the next one gives it its duration; the last
// one gets its duration from Finish.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

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
  // Finishes the file as Finish does when that was not done, the last frame
  // lasting the typical interval.
  ~MatroskaFile();
  MatroskaFile(const MatroskaFile&) = delete;
  MatroskaFile& operator=(const MatroskaFile&) = delete;

  // Appends one frame at milliseconds (not before the previous frame's)
  // with its caption; the bytes are copied. False when the file cannot be
  // written (the previous frame goes out now).
  bool Write(const std::uint8_t* bytes, std::int32_t length, std::int64_t milliseconds,
             const std::string& caption);
  // Gives the last frame its duration: until untilMilliseconds, or the
  // file's typical frame interval when that is shorter, and at least a
  // millisecond. Then writes the index and the duration, closes the file
  // and puts it on disk.
  bool Finish(std::int64_t untilMilliseconds);

  int Width() const { return width_; }
  int Height() const { return height_; }
  std::int64_t LastMilliseconds() const { return last_; }

  // The last frame's duration: toEnd (the time left to the fragment's end)
  // or typical (0: not known) when shorter; one second stands for an
  // unknown typical interval; never below one millisecond.
  static std::int64_t LastFrameDuration(std::int64_t toEnd, std::int64_t typical);

 private:
  MatroskaFile(std::string path, int width, int height);

  struct ContextFree {
    void operator()(AVFormatContext* context) const;
  };
  struct PacketFree {
    void operator()(AVPacket* packet) const;
  };

  // Writes the frame in hand and its caption, lasting duration.
  bool WritePending(std::int64_t duration);
  // The median of the recent intervals between frames; 0 when none.
  std::int64_t TypicalInterval() const;

  std::string path_;
  int width_;
  int height_;
  std::int64_t last_ = 0;
  bool finished_ = false;
  // The frame in hand, waiting for its duration.
  bool pending_ = false;
  std::vector<std::uint8_t> pendingBytes_;
  std::string pendingCaption_;
  // The latest intervals between frames, oldest overwritten first.
  static constexpr std::size_t kRecentIntervals = 31;
  std::vector<std::int64_t> recent_;
  std::size_t recentNext_ = 0;
  std::unique_ptr<AVFormatContext, ContextFree> context_;
  std::unique_ptr<AVPacket, PacketFree> packet_;
};
