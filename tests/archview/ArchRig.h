#pragma once
// A playback window over real volumes in a temporary directory, with the
// clock, the regional formats and the platform (beep, message boxes,
// configuration directory) fixed, and a record of every frame shown. The
// elapsed clock is scripted: pauses pass at once, so real-time runs take
// no real time.

#include <QObject>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ArchVolumes.h"
#include "archive/OrxRead.h"
#include "archive/VolumeList.h"
#include "archview/ArchView.h"
#include "platform/Clock.h"
#include "platform/qt/LocaleFormats.h"
#include "platform/scripted/ScriptedPlatform.h"
#include "tests/archive/support/VolumeBuilder.h"

namespace archtest {

// A frame shown: the cell that got the hint, the position at that moment
// and the hint.
struct Shown {
  int cell = -1;
  double time = 0.0;
  QString hint;
};

// Notes every hint a cell panel receives.
class HintRecorder final : public QObject {
 public:
  explicit HintRecorder(TArchView& window);
  std::vector<Shown> shown;
  // Called after each frame is noted, with its number (1 = the first).
  std::function<void(int)> onShown;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TArchView& window_;
};

class ArchRig {
 public:
  // The present time of the fixed clock: 1 February 2001, noon.
  static double Present();
  // Base of the record times: 5 January 2001 14:00:00.
  static double Base();
  static double At(double seconds) { return Base() + seconds / 86400.0; }

  ArchRig();
  ~ArchRig();

  // Writes one volume and lists it.
  void AddVolume(const std::vector<Record>& records, std::int64_t size = MinVolumeSize);
  // Writes one volume with frames[i] as the frame of records[i], and lists it.
  void AddVolume(const std::vector<Record>& records, const std::vector<Bytes>& frames,
                 std::int64_t size);
  // Lists a path that does not exist.
  void AddMissingVolume();

  // Creates the window (reading the placement from the temp directory).
  TArchView& Create();
  // Creates (if needed) and shows the window; the automatic start stays in
  // the queue until the next ProcessEvents.
  TArchView& Show();
  // As Show, but takes the automatic start out of the queue.
  TArchView& ShowStill();
  void ProcessEvents();
  // Processes events until the timeline's runs of the shown archive are all
  // read (its building is on a thread of its own).
  void WaitForTimeline();
  // Answers the next export dialog with this name in the temporary
  // directory and this type (0 volumes, 1 video).
  void ChooseExport(const std::string& name, int type = 0);
  void Destroy();
  // Hands the window over (a test that destroys it in the middle of a run).
  TArchView* Release();

  TArchView& Window() { return *window_; }
  HintRecorder& Hints() { return *hints_; }
  ScriptedPlatform& PlatformScript() { return platform_; }
  ScriptedElapsedClock& Elapsed() { return elapsed_; }
  const orxtest::TempDir& Dir() const { return dir_; }
  VolumeList& Volumes() { return volumes_; }
  const Bytes& Frame() const { return frame_; }
  // The index among the records written of the record at time, -1 if none.
  int IndexOf(double time) const;
  const std::vector<Record>& Records() const { return records_; }
  // The frame of the record at this index among the records written.
  const Bytes& FrameOf(int index) const { return frames_.at(static_cast<std::size_t>(index)); }

 private:
  orxtest::TempDir dir_;
  ScriptedPlatform platform_;
  ScopedPlatform scoped_;
  FixedClock clock_;
  ScriptedElapsedClock elapsed_;
  FixedLocaleFormats formats_;
  VolumeList volumes_;
  TOrxRead reader_;
  LayoutList layouts_;
  Bytes frame_;
  std::vector<Record> records_;
  std::vector<Bytes> frames_;
  std::unique_ptr<TArchView> window_;
  std::unique_ptr<HintRecorder> hints_;
};

}  // namespace archtest
