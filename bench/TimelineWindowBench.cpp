#include "bench/TimelineWindowBench.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QWheelEvent>

#include <algorithm>
#include <vector>

#include "archive/OrxRead.h"
#include "archview/ArchView.h"
#include "archview/TimelineFeed.h"
#include "archview/TimelineStrip.h"
#include "bench/WindowBench.h"
#include "platform/scripted/ScriptedPlatform.h"
#include "view/CameraLayout.h"

namespace {

// Times every event the strip, its feed or the strip's timer take: the
// timeline's whole share of the window's thread.
class TimedApplication final : public QApplication {
 public:
  using QApplication::QApplication;
  const QObject* strip = nullptr;
  const QObject* feed = nullptr;
  std::vector<double> ms;

  bool notify(QObject* receiver, QEvent* event) override {
    const bool timed = receiver == strip || receiver == feed ||
                       (strip && receiver->parent() == strip && !receiver->isWidgetType());
    if (!timed) return QApplication::notify(receiver, event);
    QElapsedTimer clock;
    clock.start();
    const bool done = QApplication::notify(receiver, event);
    ms.push_back(clock.nsecsElapsed() / 1e6);
    return done;
  }
};

void Wheel(TTimelineStrip& strip, int x, int delta) {
  const QPointF pos(x, strip.LanesRect().center().y());
  QWheelEvent event(pos, strip.mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(&strip, &event);
  strip.grab();
}

}  // namespace

TimelineWindowFigures MeasureTimelineWindow(const VolumeList& volumes, int& argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  TimedApplication app(argc, argv);
  QTemporaryDir dir;  // the window's placement goes here, not beside the program
  ScriptedPlatform platform(dir.path());
  ScopedPlatform scoped(platform);
  TOrxRead reader(volumes);
  LayoutList layouts;
  TimelineWindowFigures figures;
  {
    TArchView window(reader, layouts);
    window.resize(1280, 900);
    // Every camera in the grid: a lane each.
    window.SetBtnClick();
    window.SetBtnClick();
    app.strip = window.TimelineStrip;
    app.feed = window.TimelineFeed;
    // The offscreen platform paints a window that is not on a screen once:
    // the strip is painted into a picture after each hand-over instead.
    TTimelineStrip& strip = *window.TimelineStrip;
    QObject::connect(window.TimelineFeed, &TTimelineFeed::Changed, &strip,
                     [&strip] { strip.grab(); }, Qt::QueuedConnection);
    window.show();
    QCoreApplication::removePostedEvents(&window, AutoPlayMessage);  // no playback
    QElapsedTimer waited;
    waited.start();
    const TTimelineFeed& feed = *window.TimelineFeed;
    while (!(feed.Progress() < 0.0 && feed.Runs().RunCount() > 0) && waited.elapsed() < 120000)
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    if (feed.Progress() < 0.0 && feed.Runs().RunCount() > 0) {
      strip.grab();
      // In to a minute across at three places, and out again to the whole.
      const QRect lanes = strip.LanesRect();
      for (const int x : {lanes.left() + 10, lanes.center().x(), lanes.right() - 10}) {
        for (int notch = 0; notch < 12; ++notch) Wheel(strip, x, 120);
        for (int notch = 0; notch < 12; ++notch) Wheel(strip, x, -120);
      }
      QCoreApplication::processEvents();
      figures.pieces = int(app.ms.size());
      figures.longestMs = *std::max_element(app.ms.begin(), app.ms.end());
      figures.medianMs = bench::Median(app.ms);
    }
    app.strip = app.feed = nullptr;
  }
  return figures;
}
