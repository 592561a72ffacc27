#pragma once
// FrameSink: where a fragment export puts the frames it takes: export
// volumes (ExportVolumeSink) or video files (MatroskaSink).

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

// What one file of an export holds, for its report.
struct FileTally {
  std::uint32_t cameras = 0;  // a bit per stored camera number
  double first = 0.0;         // recorded time of the file's first frame
  double last = 0.0;          // and of its last
  std::int64_t frames = 0;
  std::int64_t frameBytes = 0;
  std::vector<std::uint8_t> firstFrame;  // its first frame's bytes, where the sink keeps them
};

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
  // Frames taken that no file could hold.
  virtual std::int64_t FramesLeftOut() const { return 0; }

  // What the file at path (one of Files()) holds; an empty tally for a file
  // that holds no frame.
  FileTally TallyOf(const std::string& path) const {
    const auto found = tallies_.find(path);
    return found == tallies_.end() ? FileTally{} : found->second;
  }

  // Whom to tell the path of each kept file the moment it is complete, so
  // that it can be read (hashed) while the export goes on.
  void TellFinished(std::function<void(const std::string&)> tell) { tellFinished_ = std::move(tell); }

 protected:
  // keepFirstFrames: each file's first frame is kept in its tally.
  explicit FrameSink(bool keepFirstFrames = false) : keepFirstFrames_(keepFirstFrames) {}

  void Finished(const std::string& path) const {
    if (tellFinished_) tellFinished_(path);
  }
  // A frame went into the file at path; its bytes are in bytes.
  void Count(const std::string& path, std::int32_t camera, double time, const std::uint8_t* bytes,
             std::int32_t length);

 private:
  bool keepFirstFrames_;
  std::map<std::string, FileTally> tallies_;
  std::function<void(const std::string&)> tellFinished_;
};
