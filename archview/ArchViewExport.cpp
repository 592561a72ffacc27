// The fragment export (SaveBitBtn): the interval, as forward playback from
// its start shows it, into new volumes. Which frames are taken, the loop
// that hands them on and the volumes are the export core's (export/); the
// window's part is choosing the folder, showing each frame on the way
// (StepFrameForExport) and staying responsive.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QToolButton>

#include <cmath>

#include "archive/OrxRead.h"
#include "archview/ArchCaptions.h"
#include "archview/ArchView.h"
#include "archview/PlaybackState.h"
#include "export/ExportNames.h"
#include "export/ExportRun.h"
#include "export/ExportVolumeSink.h"
#include "export/ExportWalk.h"
#include "platform/Clock.h"
#include "platform/qt/PlatformServices.h"

namespace {

// Put into the dialog's file name; the name itself is never used.
constexpr const char* ProposedExportName = "OrxTom.oxa";

// The export folder beside the chosen name, named after the start stamp.
QString ExportFolderPath(const QString& chosen, double startStamp) {
  return QFileInfo(chosen).absolutePath() + QLatin1Char('/') +
         QString::fromStdString(ExportFolderName(startStamp));
}

// StopBtn up with the freeze released, as StopPlayback releases it: a
// button shown up over a freeze still set would hold the next run before
// its first frame.
void ReleaseFreeze(TArchView& window) {
  Frozen = true;
  window.StopBtnClick();
}

}  // namespace

// The window as the export walk's front end: its stop flag, filters,
// visible cells and interval as they are before each record, its position
// refreshed every half second of archive time, and the window kept
// responsive while records are passed over.
class TArchView::ExportWalkFront final : public ExportFront {
 public:
  explicit ExportWalkFront(TArchView& window) : window_(window), refreshed_(PlaybackTime) {}
  bool StopRequested() const override { return ::StopRequested; }
  std::uint32_t CameraMask() const override { return ::CameraMask; }
  std::uint32_t KindMask() const override { return ::KindMask; }
  double IntervalEnd() const override { return window_.IntervalEnd(); }
  bool Takes(std::uint32_t camera) const override {
    return window_.CellVisible(static_cast<int>(camera));
  }
  void BeforeRecord() override {
    if (std::abs(refreshed_ - PlaybackTime) <= RefreshGap) return;
    window_.ClampPosition();
    window_.ShowArchiveBounds();
    refreshed_ = PlaybackTime;
  }
  bool PassedOver() override { return window_.ProcessPending(); }

 private:
  TArchView& window_;
  double refreshed_;
};

bool TArchView::StepFrameForExport() {
  ExportWalkFront front(*this);
  ExportWalk walk(Reader, PlaybackTime, *PlaybackStream);
  walk.TakeLandingFirst(exportLanding_);
  const WalkStep step = walk.Step(front);
  exportLanding_ = walk.LandingPending();
  switch (step) {
    case WalkStep::Selected:
      break;
    case WalkStep::Stopped:
    case WalkStep::Abandoned:  // a window destroyed meanwhile has nothing more to export
      return true;
    case WalkStep::ArchiveEnd:
      StopPlayback();
      return true;
    case WalkStep::PastInterval:
      StopPlayback();
      return false;
  }
  if (!ShowFrame(walk.Camera(), walk.Kinds(), true)) return false;
  ExportCamera = static_cast<std::int32_t>(walk.Camera());
  ExportKinds = walk.Kinds();
  return true;
}

// The export's frames as the window shows them: one StepFrameForExport per
// frame, read together with StopRequested, and the window's events between
// taking a frame and appending it.
class TArchView::ExportFromWindow final : public ExportSource {
 public:
  explicit ExportFromWindow(TArchView& window) : window_(&window) {}

  Step Next(std::uint32_t& camera, std::uint32_t& kinds, double& time) override {
    const bool shown = window_->StepFrameForExport();
    if (!window_) return Step::End;
    if (StopRequested) return Step::End;
    if (!shown) return Step::Skip;  // showing failed: that record is left out
    camera = static_cast<std::uint32_t>(ExportCamera);
    kinds = ExportKinds;
    time = PlaybackTime;
    return Step::Frame;
  }
  // The frame in hand is appended also when StopArch, ExitBtn or the
  // window's end came meanwhile.
  bool Taken() override { return window_->ProcessPending(); }
  bool WindowAlive() const { return !window_.isNull(); }

 private:
  QPointer<TArchView> window_;
};

void TArchView::SetStepRunButtonsEnabled(bool enabled) {
  for (QToolButton* button : {LeftStep, RightStep, LeftRun, RightRun}) button->setEnabled(enabled);
}

void TArchView::SaveBitBtnClick() {
  // A second export while one runs would share the reader, the stream and
  // the stop flag with it.
  if (exporting_) return;
  exporting_ = true;
  SaveBitBtn->setEnabled(false);
  const bool wasFrozen = Frozen;
  ReleaseFreeze(*this);  // a freeze does not pause an export
  SetStepRunButtonsEnabled(false);
  // One reading of the clock: two could straddle midnight.
  const double startStamp = PresentTime();

  QPointer<TArchView> self(this);
  QString chosen;
  const bool accepted =
      Platform().OpenFileName(this, QString::fromLatin1(ProposedExportName), chosen);
  if (!self) return;
  if (accepted && !ExportInterval(ExportFolderPath(chosen, startStamp))) return;

  SetStepRunButtonsEnabled(true);
  // Frozen during the export, or the export ended without StopPlayback (a
  // volume could not be made): the button and the freeze agree again. A
  // cancelled dialog changed nothing: a freeze stands as it stood.
  ReleaseFreeze(*this);
  if (!accepted && wasFrozen) StopBtnClick();
  SaveBitBtn->setEnabled(true);
  exporting_ = false;
}

bool TArchView::ExportInterval(const QString& folder) {
  // Not looked at: a folder that is missing shows when its first volume
  // cannot be made.
  QDir().mkdir(folder);
  ExportVolumeSink volumes(QFile::encodeName(folder).toStdString());
  exportLanding_ = ExportWalk(Reader, PlaybackTime, *PlaybackStream).Start(IntervalStart());
  StopRequested = false;
  ExportFromWindow frames(*this);
  RunExport(frames, *PlaybackStream, volumes);
  StopRequested = true;
  return frames.WindowAlive();
}
