#pragma once
// FrameSink: where a fragment export puts the frames it takes: export
// volumes (ExportVolumeSink) or video files (MatroskaSink).

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class FrameSink {
 public:
  virtual ~FrameSink() = default;
  // The frame's first length bytes are in ExportBuffer (archive/OrxWrite.h).
  // False: the export must end; what was put before is kept.
  virtual bool Append(std::int32_t camera, std::uint32_t kinds, double time,
                      std::int32_t length) = 0;
  // Finishes every file and puts it on disk. False when one could not be
  // finished.
  virtual bool Close() = 0;
  // Paths of the files made and kept, in the order they were made.
  virtual const std::vector<std::string>& Files() const = 0;

  // Whom to tell the path of each kept file the moment it is complete, so
  // that it can be read (hashed) while the export goes on.
  void TellFinished(std::function<void(const std::string&)> tell) { tellFinished_ = std::move(tell); }

 protected:
  void Finished(const std::string& path) const {
    if (tellFinished_) tellFinished_(path);
  }

 private:
  std::function<void(const std::string&)> tellFinished_;
};
