#pragma once
// ExportVolumeSink: the volumes of one fragment export, in its folder.
//
// A volume is made only when a frame has to go into it and is named after
// that frame's time. Its whole size is reserved on disk before the writer
// formats it, so a full disk shows at the start of a volume and never in the
// middle of a frame. When the open volume refuses a frame (full, or a write
// failed) it is closed with its write-back to disk begun, and the same frame
// goes into a new one. Close waits until every volume is on disk, so when
// the export ends every appended frame is.
//
// A volume is made under a passing name and takes its own name only once the
// writer has formatted it, and a name already taken gets " (2)", " (3)", ...
// rather than replacing that file: every .oxa file in the folder is a whole
// volume, even after the process was killed, and no volume is overwritten.
//
// No widgets: the playback window's export drives it, and so can a
// command-line export. Frames come from ExportBuffer (archive/OrxWrite.h).

#include <cstdint>
#include <string>
#include <vector>

#include "archive/OrxWrite.h"
#include "export/FrameSink.h"

class ExportVolumeSink final : public FrameSink {
 public:
  // Size of every export volume: 10239 index entries and 9,830,368 bytes of
  // frame data.
  static constexpr std::int64_t ExportVolumeSize = 10485760;

  // folder: the export folder, without a trailing separator. Nothing is made
  // until the first Append.
  explicit ExportVolumeSink(std::string folder);
  // Closes the open volume as Close does.
  ~ExportVolumeSink() override;
  ExportVolumeSink(const ExportVolumeSink&) = delete;
  ExportVolumeSink& operator=(const ExportVolumeSink&) = delete;

  // Appends the frame whose first length bytes are in ExportBuffer, making
  // the first volume or the next one as needed. False means the export must
  // end: a volume could not be made, reserved or opened, or a fresh, empty
  // volume refused the frame (the volume is then removed again). Frames
  // appended before stay where they are.
  bool Append(std::int32_t camera, std::uint32_t kinds, double time,
              std::int32_t length) override;

  // Closes the open volume and waits until every volume made is on disk.
  // False when one could not be put there.
  bool Close() override;

  // Paths of the volumes made and kept, in the order they were made.
  const std::vector<std::string>& Files() const override { return volumes_; }

 private:
  // An owned file descriptor.
  class Descriptor {
   public:
    ~Descriptor() { Reset(); }
    void Reset(int fd = -1);
    int Get() const { return fd_; }

   private:
    int fd_ = -1;
  };

  bool MakeVolume(double firstFrameTime);
  // The volume's final path: its name, or the first free " (n)" variant.
  // Empty when the volume could not be given a name.
  std::string NameVolume(const std::string& making, double firstFrameTime) const;
  void FinishVolume();

  std::string folder_;
  TOrxWrite writer_;
  Descriptor volumeFile_;  // kept to start the volume's write-back when it is finished
  bool volumeOpen_ = false;
  bool volumeEmpty_ = false;
  bool flushFailed_ = false;
  std::size_t synced_ = 0;  // volumes known to be on disk
  std::vector<std::string> volumes_;
};
