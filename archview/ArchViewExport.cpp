// The fragment export (SaveBitBtn): the interval, as forward playback from
// its start shows it, into new volumes. The window's part is choosing the
// folder, driving StepFrameForExport and handing each shown frame on; the
// volumes themselves are ExportVolumeSink's.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QToolButton>

#include <cstring>

#include "archive/OrxRead.h"
#include "archview/ArchView.h"
#include "archview/ExportNames.h"
#include "archview/ExportVolumeSink.h"
#include "archview/PlaybackState.h"
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

}  // namespace

void TArchView::SetStepRunButtonsEnabled(bool enabled) {
  for (QToolButton* button : {LeftStep, RightStep, LeftRun, RightRun}) button->setEnabled(enabled);
}

void TArchView::SaveBitBtnClick() {
  // A second export while one runs would share the reader, the stream and
  // the stop flag with it.
  if (exporting_) return;
  exporting_ = true;
  SaveBitBtn->setEnabled(false);
  StopBtn->setChecked(false);  // shown released; the freeze itself is left as it is
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
  StopBtn->setChecked(false);
  SaveBitBtn->setEnabled(true);
  exporting_ = false;
}

bool TArchView::ExportInterval(const QString& folder) {
  // Not looked at: a folder that is missing shows when its first volume
  // cannot be made.
  QDir().mkdir(folder);
  ExportVolumeSink volumes(QFile::encodeName(folder).toStdString());
  PlaybackTime = IntervalStart();
  Reader.SetPosition(PlaybackTime, SeekDirection::Forward);
  StopRequested = false;

  QPointer<TArchView> self(this);
  bool alive = true;
  for (;;) {
    const bool shown = StepFrameForExport();
    if (!self) {
      alive = false;
      break;
    }
    if (StopRequested) break;
    if (!shown) continue;  // showing failed: that record is left out
    // The frame is taken before events run: a handler may move
    // PlaybackTime, and the stream belongs to the window.
    const std::size_t length = PlaybackStream->Size();
    if (length > ExportBuffer.size()) continue;  // the reader hands out none longer
    std::memcpy(ExportBuffer.data(), PlaybackStream->Data(), length);
    const std::int32_t camera = ExportCamera;
    const std::uint32_t kinds = ExportKinds;
    const double time = PlaybackTime;
    alive = ProcessPending();
    // The frame in hand is kept also when StopArch, ExitBtn or the window's
    // end came meanwhile.
    if (!volumes.Append(camera, kinds, time, static_cast<std::int32_t>(length)) || !alive) break;
  }
  volumes.Close();
  StopRequested = true;
  return alive;
}
