// The fragment export (SaveBitBtn): the interval, as forward playback from
// its start shows it, into new volumes or videos. Which frames are taken,
// the loop that hands them on, the files, the report and the manifest are
// the export core's (export/), as orxtool export makes them; the window's
// part is choosing the folder and the form, showing each frame on the way
// (StepFrameForExport), staying responsive and saying how it ended.

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QToolButton>

#include <cmath>
#include <vector>

#include "archive/OrxRead.h"
#include "archview/ArchCaptions.h"
#include "archview/ArchView.h"
#include "archview/ExportDestination.h"
#include "archview/ExportEndMessage.h"
#include "archview/PlaybackState.h"
#include "export/ExportHandover.h"
#include "export/ExportNames.h"
#include "export/ExportWalk.h"
#include "export/Libav.h"
#include "platform/Clock.h"

namespace {

// The export folder in the chosen directory, named after the start stamp.
QString ExportFolderPath(const QString& directory, double startStamp) {
  return directory + QLatin1Char('/') + QString::fromStdString(ExportFolderName(startStamp));
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
  void Unreadable(double) override { ++window_.exportUnreadable_; }

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
  explicit ExportFromWindow(TArchView& window) : window_(&window) {
    // The operator's stops, told apart from the interval's or the archive's
    // end, which stop through StopPlayback too.
    for (QAbstractButton* button : {static_cast<QAbstractButton*>(window.StopArch),
                                    static_cast<QAbstractButton*>(window.ExitBtn)})
      stops_.push_back(QObject::connect(button, &QAbstractButton::clicked,
                                        [this] { stopped_ = true; }));
  }
  ~ExportFromWindow() override {
    for (const QMetaObject::Connection& stop : stops_) QObject::disconnect(stop);
  }
  ExportFromWindow(const ExportFromWindow&) = delete;
  ExportFromWindow& operator=(const ExportFromWindow&) = delete;

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
  // Also a window closed or destroyed meanwhile: its reader was closed.
  bool Interrupted() const override { return stopped_ || !window_ || !window_->isVisible(); }
  std::int64_t FramesUnreadable() const override {
    return window_ ? window_->exportUnreadable_ : 0;
  }
  bool WindowAlive() const { return !window_.isNull(); }

 private:
  QPointer<TArchView> window_;
  std::vector<QMetaObject::Connection> stops_;
  bool stopped_ = false;
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
  ExportDestination destination;
  const bool accepted = ChooseExportDestination(this, exportDirectory_, destination);
  if (!self) return;
  if (accepted && !ExportInterval(destination, startStamp)) return;

  SetStepRunButtonsEnabled(true);
  // Frozen during the export, or the export ended without StopPlayback (a
  // volume could not be made): the button and the freeze agree again. A
  // cancelled dialog changed nothing: a freeze stands as it stood.
  ReleaseFreeze(*this);
  if (!accepted && wasFrozen) StopBtnClick();
  SaveBitBtn->setEnabled(true);
  exporting_ = false;
}

bool TArchView::ExportInterval(const ExportDestination& destination, double startStamp) {
  std::string why;
  if (destination.format == ExportFormat::Video && !Libav(&why)) {
    TellVideoUnavailable(this, why);
    return true;
  }
  exportDirectory_ = destination.directory;
  const QString folder = ExportFolderPath(destination.directory, startStamp);
  // A folder that is missing also shows when its first file cannot be made.
  const bool folderMade = QDir().mkdir(folder);
  ExportRequest request;
  request.format = destination.format;
  request.folder = QFile::encodeName(folder).toStdString();
  request.from = IntervalStart();
  request.to = IntervalEnd();
  request.cameras = CameraMask;
  request.kinds = KindMask;
  request.madeAt = startStamp;
  request.frontEnd = "окно просмотра";
  exportLanding_ = ExportWalk(Reader, PlaybackTime, *PlaybackStream).Start(IntervalStart());
  landingPending_ = false;  // the export's walk reads from here on
  exportUnreadable_ = 0;
  StopRequested = false;
  ExportFromWindow frames(*this);
  const ExportSummary summary = RunExportHandover(frames, *PlaybackStream, request);
  StopRequested = true;
  if (!frames.WindowAlive()) return false;
  TellExportEnd(this, folder, folderMade, request.format, summary);
  return true;
}
