// What the screen gets from the engine, now that the window repaints at its
// screen's pace: the picture of a single step is painted, and so is the one
// a run is frozen on, while the run waits.

#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>

#include <array>

#include "ArchRig.h"
#include "archview/PlaybackState.h"
#include "view/CellImage.h"

namespace archtest {
namespace {

// Notes, for every camera's picture control, which bitmap it painted last.
class PaintRecorder final : public QObject {
 public:
  explicit PaintRecorder(TArchView& window) : window_(window) {
    for (TCellImage* image : window.CellImages)
      if (image) image->installEventFilter(this);
  }
  std::array<qint64, CellCount> painted{};

  bool Shows(int cell) const {
    return painted[std::size_t(cell)] == window_.CellImages[std::size_t(cell)]->Bitmap().cacheKey();
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint)
      for (int i = 0; i < CellCount; ++i)
        if (window_.CellImages[std::size_t(i)] == watched)
          painted[std::size_t(i)] = window_.CellImages[std::size_t(i)]->Bitmap().cacheKey();
    return false;
  }

 private:
  TArchView& window_;
};

TEST(PlaybackPaint, SteppedPictureIsPainted) {
  ArchRig rig;
  rig.AddVolume(RoundRobin(ArchRig::Base(), 8, 4, 1.0));
  TArchView& w = rig.ShowStill();
  PaintRecorder recorder(w);
  for (int step = 1; step <= 3; ++step) {
    w.RightStepClick();
    ASSERT_EQ(rig.Hints().shown.size(), std::size_t(step));
    const int cell = rig.Hints().shown.back().cell;
    EXPECT_TRUE(QTest::qWaitFor([&] { return recorder.Shows(cell); }, 1000)) << "step " << step;
  }
}

TEST(PlaybackPaint, PictureARunIsFrozenOnIsPainted) {
  ArchRig rig;
  rig.AddVolume(RoundRobin(ArchRig::Base(), 12, 4, 1.0));
  TArchView& w = rig.Show();
  PaintRecorder recorder(w);
  bool paintedWhileFrozen = false;
  QTimer watch;
  rig.Hints().onShown = [&](int count) {
    if (count != 2) return;
    const int cell = rig.Hints().shown.back().cell;
    w.StopBtnClick();  // freeze right after this frame came
    QObject::connect(&watch, &QTimer::timeout, &w, [&, cell] {
      // Stop once the picture is on the screen, or after a second.
      paintedWhileFrozen = recorder.Shows(cell) && Frozen;
      if (paintedWhileFrozen || watch.property("ticks").toInt() > 200) w.StopArchClick();
      watch.setProperty("ticks", watch.property("ticks").toInt() + 1);
    });
    watch.start(5);
  };
  rig.ProcessEvents();
  EXPECT_TRUE(paintedWhileFrozen);
  EXPECT_EQ(rig.Hints().shown.size(), 2u);  // nothing was shown after the freeze
}

}  // namespace
}  // namespace archtest
