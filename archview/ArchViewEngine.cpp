// The playback engine: the single step, the run with its speed, stopping,
// freezing, the play buttons and the automatic start.

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QToolButton>

#include <cmath>
#include <exception>

#include "archive/OrxRead.h"
#include "archview/ArchCaptions.h"
#include "archview/ArchView.h"
#include "archview/FrameIntoCell.h"
#include "archview/FramePipeline.h"
#include "archview/PauseEvent.h"
#include "archview/PlaybackState.h"
#include "archview/RunStep.h"
#include "archview/RealTimeControls.h"
#include "common/CameraMask.h"
#include "platform/Clock.h"
#include "platform/qt/PlatformServices.h"
#include "view/CellImage.h"
#include "view/CellPanel.h"

extern std::unique_ptr<TPauseEvent> PauseEvent;

bool TArchView::LetEventsRun(QEventLoop::ProcessEventsFlags flags) {
  QPointer<TArchView> self(this);
  const double began = ElapsedSeconds();
  QCoreApplication::processEvents(flags);
  if (!self) return false;
  // A handler may have held the thread for long (a modal dialog, a menu):
  // a run at real time does not make that time up.
  if (RealTime) RealTime->NoteOutside(began);
  return true;
}

bool TArchView::ProcessPending() { return LetEventsRun(QEventLoop::AllEvents); }

bool TArchView::WaitForEvent() { return LetEventsRun(QEventLoop::WaitForMoreEvents); }

bool TArchView::Pause() {
  // A closed window holds no run: its pauses end at once.
  if (PauseEvent && isVisible()) PauseEvent->Wait(10);
  return ProcessPending();
}

bool TArchView::ReadRecord(bool forward, int count, std::uint32_t& camera,
                           std::uint32_t& kinds) {
  PlaybackStream->Clear();
  // The landing counts only while the reader still stands on it.
  RecordKey place;
  bool landing = landingPending_ && Reader.Place(place) && SameRecord(place, landingKey_);
  landingPending_ = false;
  return ReadRunStep(Reader, landing, forward, count, camera, kinds, PlaybackTime,
                     *PlaybackStream);
}

bool TArchView::ShowFrame(std::uint32_t camera, std::uint32_t kinds, bool forExport) {
  return ShowFrameInCell(*this, camera, kinds, PlaybackTime, *PlaybackStream, forExport);
}

void TArchView::StepFrame(bool forward) { StepFrame(forward, false); }

void TArchView::StepFrame(bool forward, bool paced) {
  double refreshed = PlaybackTime;
  for (;;) {
    if (std::abs(refreshed - PlaybackTime) > RefreshGap) {
      ClampPosition();
      ShowArchiveBounds();
      refreshed = PlaybackTime;
    }
    if (StopRequested) break;
    std::uint32_t kinds = KindMask;
    std::uint32_t camera = CameraMask;
    if (!ReadRecord(forward, 1, camera, kinds)) {
      StopPlayback();
      break;
    }
    if (forward ? PlaybackTime > IntervalEnd() : PlaybackTime < IntervalStart()) {
      StopPlayback();
      break;
    }
    if (camera < static_cast<std::uint32_t>(CameraCount) && !PlaybackStream->Empty() &&
        CellVisible(static_cast<int>(camera))) {
      if (paced) {
        const PaceResult pace = AwaitRealTime();
        if (pace == PaceResult::WindowGone) return;
        if (pace == PaceResult::Dropped) continue;  // moved meanwhile, or the window closed
        if (pace == PaceResult::PassOver) {  // late: the run catches up
          if (!ProcessPending()) return;
          continue;
        }
      }
      ShowFrame(camera, kinds, false);
      break;
    }
    // Records passed over still let the window breathe.
    if (!ProcessPending()) return;
  }
  ClampPosition();
  ShowArchiveBounds();
}

void TArchView::RunPlayback(bool forward) {
  int n = CameraCount;
  StopRequested = false;
  (forward ? RightRun : LeftRun)->setChecked(true);
  RealTime->Restart();
  while (!StopRequested) {
    // At real time nothing is passed over by rule: a step passes over frames
    // only when the run has fallen behind the clock.
    if (!RealTime->Applies()) {
      // Only moves the reader and the position: no frame bytes are wanted.
      std::uint32_t camera = CameraMask;
      std::uint32_t kinds = 0;
      ReadRecord(forward, SkipCount, camera, kinds);
    }
    // The steps of this cycle, as far as the cells now tell: what the
    // frames read ahead are read for.
    const int steps = 2 * VisibleCameraCount();
    for (int i = 0; 2 * n > i; ++i) {
      // A closed window holds no run: it goes on to its next read, which
      // fails on the closed reader and ends the run.
      while (Frozen && isVisible()) {
        if (!WaitForEvent()) return;
      }
      QPointer<TArchView> self(this);
      if (!StopRequested) pipeline_->ReadAhead(forward, steps - i);
      StepFrame(forward, true);
      if (!self) return;
      RealTime->NoteStep();
      // At real time the bar asks for a multiple, not for pauses.
      for (int d = 0; d < FrameDelay && !RealTime->Applies(); ++d) {
        if (!Pause()) return;
      }
      if (!ProcessPending()) return;
      n = VisibleCameraCount();
    }
  }
}

int TArchView::VisibleCameraCount() const {
  int n = 0;
  for (int i = 0; i < CameraCount; ++i) n += CellVisible(i) ? 1 : 0;
  return n;
}

void TArchView::StopPlayback() {
  StopRequested = true;
  Frozen = true;
  StopBtnClick();  // releases the freeze, since Frozen is set
  StopArch->setChecked(true);
  ShowArchiveBounds();
  Platform().Beep();
}

void TArchView::StopBtnClick() {
  if (Frozen) {
    Frozen = false;
    StopBtn->setChecked(false);
    StopBtn->setToolTip(QStringLiteral("Остановить"));
    SaveItem->setEnabled(false);
    PrintItem->setEnabled(false);
  } else {
    Frozen = true;
    StopBtn->setChecked(true);
    StopBtn->setToolTip(QStringLiteral("Продолжить"));
    SaveItem->setEnabled(true);
    PrintItem->setEnabled(true);
  }
}

void TArchView::SingleStep(bool forward) {
  StopRequested = false;
  (forward ? RightStep : LeftStep)->setChecked(true);
  QPointer<TArchView> self(this);
  StepFrame(forward);
  if (!self) return;
  StopArch->setChecked(true);
  StopRequested = true;
}

void TArchView::LeftStepClick() { SingleStep(false); }

void TArchView::RightStepClick() { SingleStep(true); }

void TArchView::LeftRunClick() { RunPlayback(false); }

void TArchView::RightRunClick() { RunPlayback(true); }

void TArchView::StopArchClick() { StopPlayback(); }

void TArchView::ExitBtnClick() {
  StopPlayback();
  close();
}

void TArchView::SpeedBarChange(int position) {
  if (position > 0) {
    SkipCount = 32 * position;
    FrameDelay = 1;
  } else {
    SkipCount = 0;
    FrameDelay = -position;
  }
}

bool TArchView::ApplicationEventsMessage(QObject*, QEvent* event) {
  if (event->type() == QEvent::Type(AutoPlayMessage)) RightRunClick();
  return false;
}

void TArchView::LayoutChanged() {
  ClampPosition();
  CameraMask = 0;
  for (int i = 0; i < CameraCount; ++i)
    if (CellVisible(i)) CameraMask |= CameraBit(i);
}

void TArchView::TimerTimer() {
  setWindowTitle(ArchCaptionText(PlaybackTime));
  for (int i = 0; i < CameraCount; ++i) {
    if (!PictureStale(CellTime[i], PlaybackTime)) continue;
    if (CellImages[i]) CellImages[i]->hide();
    if (CellPanels[i]) CellPanels[i]->SetCaption(NoRecordCaption());
  }
}
