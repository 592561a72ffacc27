#pragma once
// What the playback window's benchmarks share: camera-like frames, a volume
// of them, a count of the frames the cells show, the decode-only yardstick
// and medians.

#include <QEvent>
#include <QObject>

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

using Bytes = std::vector<std::uint8_t>;

// count JPEG frames of width x height: gradients, blocks, a moving bar and
// sensor noise, as a camera sees a scene (quality 75).
std::vector<Bytes> CameraLikeFrames(int width, int height, int count);

// A fresh volume of size bytes at path holding records frames, frame i of
// camera i mod frames.size(), continuous, 40 ms apart from base. False when
// it cannot be made.
bool WriteRoundRobinVolume(const std::string& path, std::int64_t size, int records,
                           const std::vector<Bytes>& frames, double base);

// Volumes of volumeBytes each in folder (v0.oxa, v1.oxa, ...) holding
// seconds of cameras recording fps frames a second each, continuous: frame
// k of camera c at base + k / fps + c milliseconds, its picture
// frames[(k * cameras + c) % frames.size()]. False when they cannot be made.
bool WriteCameraVolumes(const std::string& folder, std::int64_t volumeBytes, int cameras,
                        int fps, double seconds, const std::vector<Bytes>& frames, double base);

// Seconds FrameDecoder alone takes for the first count frames of the round
// robin.
double DecodeOnlySeconds(const std::vector<Bytes>& frames, int count);

double Median(std::vector<double> values);

// Counts the hints the cells receive: one per frame shown. With a time to
// watch (the window's PlaybackTime), also keeps its value at the last one.
class ShownCounter final : public QObject {
 public:
  explicit ShownCounter(const double* watched = nullptr) : watched_(watched) {}
  int shown = 0;
  double lastTime = 0.0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::ToolTipChange) {
      ++shown;
      if (watched_) lastTime = *watched_;
    }
    return false;
  }

 private:
  const double* watched_;
};

}  // namespace bench
