#pragma once
// TOrxWrite: appends frames with their index entries to one volume file. It
// never creates, grows or shrinks a file; a volume is full when the next
// frame or its entry does not fit.

#include <array>
#include <cstdint>
#include <string>

#include "archive/FileHandle.h"
#include "archive/VolumeFormat.h"

// The program-wide buffer from which Append writes a frame. It takes the
// largest frame the reader hands out: a camera's 1920x1080 frame is often
// several hundred kilobytes, and the export must not drop it.
inline constexpr std::int32_t ExportBufferSize = MaxFrameLength;
extern std::array<std::uint8_t, ExportBufferSize> ExportBuffer;

class TOrxWrite {
 public:
  static constexpr std::int64_t TrimMargin = 1048576;
  static constexpr std::int32_t TrimStep = 1024;

  TOrxWrite() = default;
  virtual ~TOrxWrite();
  TOrxWrite(const TOrxWrite&) = delete;
  TOrxWrite& operator=(const TOrxWrite&) = delete;

  // Opens an existing file of at least MinVolumeSize bytes for appending,
  // making it an empty volume when its magic words do not match.
  bool Open(const std::string& path);
  void Close();

  // Appends the first length bytes of ExportBuffer as a frame.
  // 1 appended; 0 refused, the volume is full; -1 not open or a write failed.
  int Append(std::int32_t camera, std::int32_t kind, double time, std::int32_t length);

  bool IsOpen() const { return IsOpen_; }
  const VolumeHeader& Header() const { return Header_; }
  std::int32_t WritePos() const { return WritePos_; }
  std::int32_t RingSize() const { return RingSize_; }

 private:
  bool WriteHeader();

  std::int32_t WritePos_ = 0;
  std::int32_t RingSize_ = 0;
  bool IsOpen_ = false;
  FileHandle Stream_;
  IndexEntry Entry_{};
  VolumeHeader Header_{};
  std::int64_t FileSize_ = 0;
};
