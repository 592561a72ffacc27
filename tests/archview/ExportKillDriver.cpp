// Not a test by itself: a fragment export in a process of its own, so that a
// test can kill it in the middle. It exports the whole archive of SOURCE into
// a folder beside OUT/OrxTom.oxa on the offscreen platform, and prints
// "appended N" whenever the first N frames are surely appended (the step
// shows frame N+1 only after Append of frame N returned), then "done".
// Usage: export_kill_driver SOURCE.oxa OUT

#include <QApplication>
#include <QEvent>

#include <cstdio>

#include "archive/OrxRead.h"
#include "archview/ArchView.h"
#include "platform/scripted/ScriptedPlatform.h"
#include "view/CellPanel.h"

namespace {

class AppendedReport final : public QObject {
 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::ToolTipChange && ++shown_ > 1) {
      std::printf("appended %d\n", shown_ - 1);
      std::fflush(stdout);
    }
    return false;
  }

 private:
  int shown_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const QString out = QString::fromLocal8Bit(argv[2]);
  ScriptedPlatform platform(out);
  ScopedPlatform scoped(platform);
  platform.typedSaveAnswers = {SaveFileAnswer{out + QStringLiteral("/OrxTom.oxa")}};

  VolumeList volumes{argv[1]};
  TOrxRead reader(volumes);
  LayoutList layouts;
  TArchView window(reader, layouts);
  AppendedReport report;
  for (TCellPanel* panel : window.CellPanels) panel->installEventFilter(&report);
  window.show();
  QCoreApplication::removePostedEvents(&window, AutoPlayMessage);
  window.SaveBitBtnClick();
  std::printf("done\n");
  return 0;
}
