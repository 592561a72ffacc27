#pragma once
// TArchView: the archive playback window, a TView with a time position in
// the archive, an interval, record-kind filters and the play controls.
//
// Playback is not driven by a timer: a run is a loop inside the click
// handler of a run button that processes pending events between records and
// in its pauses, so every control (stop, freeze, filters, interval, position,
// the grid) acts in the middle of a run, and a run or step started from
// inside a run nests in it. Only the decoding of frames a run is about to
// show goes to worker threads (archview/FramePipeline.h); all else runs on
// the window's thread. All playback state is the unit's program-wide state
// (archview/PlaybackState.h).
//
// The handlers are public and named after component and event, as the form
// binds them; tests call them directly.

#include <QEventLoop>
#include <QPoint>
#include <QPointer>

#include <cstdint>
#include <memory>

#include "archive/OrxRead.h"
#include "view/View.h"

class QButtonGroup;
class QCheckBox;
class QDateEdit;
class QDateTime;
class QGroupBox;
class QLabel;
class QLineEdit;
class QScrollBar;
class QSlider;
class QTimeEdit;
class QWidget;
class FramePipeline;
class TApplicationEvents;
class TEventJump;
class TTimelineFeed;
class TTimelineStrip;
class TOrxRead;
class TRealTimeControls;
struct ExportDestination;

namespace Ui {
class ArchPanel;
}

// The private event whose arrival starts the forward run after a showing.
inline constexpr int AutoPlayMessage = 0x7001;

class TArchView : public TView {
  Q_OBJECT

 public:
  // Runs the creation: TView's cells, the placement from section "ArchView"
  // of OrxViewer.cfg, the frame stream, the decoder and the pause.
  // REQUIRES: reader and layouts outlive the window (the main window owns
  // them).
  TArchView(TOrxRead& reader, LayoutList& layouts, QWidget* parent = nullptr);
  // Runs the destruction: writes the placement, frees the stream, the
  // decoder and the pause. A run still on the stack ends at its next look
  // at the window.
  ~TArchView() override;

  // --- Components of the form (forms/ArchView.ui; owned by Qt's parents) ---
  QWidget* ArchPanel = nullptr;  // bottom, 105 pixels
  QGroupBox* FirstBox = nullptr;
  QPushButton* LeftRefreshBtn = nullptr;
  QLineEdit* FirstDate = nullptr;
  QLineEdit* FirstTime = nullptr;
  QFrame* RecPanel = nullptr;
  QScrollBar* CurrentPos = nullptr;
  QDateEdit* OldDate = nullptr;
  QTimeEdit* OldTime = nullptr;
  QDateEdit* NewDate = nullptr;
  QTimeEdit* NewTime = nullptr;
  QSlider* SpeedBar = nullptr;
  QToolButton* RealTimeBtn = nullptr;  // "1×": runs keep to real time
  QLabel* SpeedLabel = nullptr;        // the readout of the speed, above the position bar
  QFrame* PlayPanel = nullptr;
  QToolButton* LeftStep = nullptr;
  QToolButton* LeftRun = nullptr;
  QToolButton* StopArch = nullptr;
  QToolButton* RightRun = nullptr;
  QToolButton* RightStep = nullptr;
  QButtonGroup* PlayGroup = nullptr;  // the five play buttons, exclusive
  QGroupBox* LastBox = nullptr;
  QPushButton* RightRefreshBtn = nullptr;
  QLineEdit* LastDate = nullptr;
  QLineEdit* LastTime = nullptr;
  QCheckBox* TimerRecBox = nullptr;
  QCheckBox* ActiveRecBox = nullptr;
  QCheckBox* MoveRecBox = nullptr;
  QCheckBox* HistRecBox = nullptr;
  TApplicationEvents* ApplicationEvents = nullptr;  // the hook on qApp
  QPushButton* SaveBitBtn = nullptr;  // on CommandPanel: the fragment export
  TRealTimeControls* RealTime = nullptr;  // the toggle, the readout, the pacing
  // The timeline between the grid and ArchPanel, the runs it shows and the
  // jumps to events (ArchViewTimeline.cpp).
  TTimelineStrip* TimelineStrip = nullptr;
  TTimelineFeed* TimelineFeed = nullptr;
  TEventJump* EventJump = nullptr;

  TOrxRead& Reader;

  // --- The engine (ArchViewEngine.cpp) ---
  // One step: reads records in the direction until one of a visible camera
  // with wanted kinds is shown, the interval or the archive ends, or a stop
  // is requested.
  void StepFrame(bool forward);
  // The forward step of the fragment export. true with StopRequested clear:
  // a frame was shown (ExportCamera, ExportKinds); true with StopRequested
  // set: no frame; false: the interval end was passed (StopRequested set) or
  // showing failed (StopRequested clear).
  bool StepFrameForExport();
  // Cycles of a skip and 2 x n steps until a stop is requested.
  void RunPlayback(bool forward);
  // The common body of the two step buttons: one step, then stopped.
  void SingleStep(bool forward);
  void StopPlayback();
  void LayoutChanged() override;

  // --- The position (ArchViewPosition.cpp) ---
  // Positions the reader for a control (the position bar, the strip, a
  // jump, the first and last record buttons, the interval); on a record,
  // that record is the landing the next step of a run shows first, since no
  // step has read it yet.
  int PositionReader(double& time, SeekDirection direction);
  bool LandingPending() const {
    RecordKey place;
    return landingPending_ && Reader.Place(place) && SameRecord(place, landingKey_);
  }
  // The picture at the position has shown what the landing would show.
  void ForgetLanding() { landingPending_ = false; }
  void ClampPosition();
  void ShowArchiveBounds();
  // The interval as the pickers hold it.
  double IntervalStart() const { return intervalStart_; }
  double IntervalEnd() const { return intervalEnd_; }
  // Moves the position to target as a click on the position bar does: the
  // reader searches forward when target lies after the position, backward
  // otherwise; then the bounds and the bar are shown.
  void MoveToTime(double target);
  // Sets the interval to from..to (to the millisecond), as the pickers
  // would, and keeps the position inside it: a Shift-drag on the timeline.
  void MarkInterval(double from, double to);
  // Puts a value into both pickers of a pair without running their handlers.
  void SetIntervalStart(double dateTime);
  void SetIntervalEnd(double dateTime);

  // --- Handlers ---
  void FormShow() override;
  void FormClose() override;
  void LeftStepClick();
  void RightStepClick();
  void LeftRunClick();
  void RightRunClick();
  void StopArchClick();
  void StopBtnClick() override;
  void SpeedBarChange(int position);
  void TimerTimer() override;
  void ExitBtnClick() override;
  // The application-wide hook: starts the forward run when the posted
  // AutoPlayMessage is taken from the queue. Never consumes the event.
  bool ApplicationEventsMessage(QObject* receiver, QEvent* event);
  void OldDateChange();
  void OldTimeChange();
  void NewDateChange();
  void NewTimeChange();
  void LeftRefreshBtnClick();
  void RightRefreshBtnClick();
  // action: QAbstractSlider::SliderAction, or -1 for the release of the thumb.
  void CurrentPosScroll(int action);
  void TimerRecBoxClick();

  // --- Window arrangement (ArchViewArrangement.cpp) ---
  // TView's, then the play buttons onto the command strip with the archive
  // panel hidden in full screen, and back onto RecPanel with it shown.
  void SizeItemClick() override;
  // A character key in full screen leaves it, through SizeItemClick.
  void FormKeyPress(QChar key) override;
  // Leaves full screen through SizeItemClick, then TView's.
  void Button43Click() override;
  // TView's, with the archive panel hidden while it runs, so the printed
  // grid has no archive controls.
  void PrintItemClick() override;

  // --- Fragment export (ArchViewExport.cpp) ---
  // Exports the interval as forward playback from its start shows it, frame
  // by frame, into new volumes or videos, with a report and a manifest, in a
  // time-stamped folder in the directory the operator chooses, and says how
  // it ended. One export at a time: the button is disabled while it runs.
  // It ends at the interval end, the archive end, StopArch or ExitBtn
  // (after the frame in hand), or when a file cannot be made.
  void SaveBitBtnClick();
  bool Exporting() const { return exporting_; }

  // Number of cameras 0..31 whose cell is visible.
  int VisibleCameraCount() const;

  // Where the frames' pictures are made: ahead of a run on worker threads,
  // or on the spot (archview/FramePipeline.h).
  FramePipeline& Pictures() { return *pipeline_; }

 private:
  void BuildArchPanel();
  // The timeline strip, its feed, the jumps and the kind colours beside the
  // kind boxes; the window grows by the strip.
  void BuildTimeline();
  // ArchPanel and the timeline strip are shown and hidden together.
  void SetArchControlsVisible(bool visible);
  void ConnectHandlers();
  void ReadPlacement();
  void WritePlacement() const;
  // Decodes the frame in the stream into camera's cell and captions it.
  // False when the cell cannot take it.
  bool ShowFrame(std::uint32_t camera, std::uint32_t kinds, bool forExport);
  bool ReadRecord(bool forward, int count, std::uint32_t& camera, std::uint32_t& kinds);
  // Processes events as flags say and tells real time how long that took;
  // false when the window was destroyed meanwhile (the caller must then
  // return without touching it).
  bool LetEventsRun(QEventLoop::ProcessEventsFlags flags);
  // Processes pending events; false as above.
  bool ProcessPending();
  // Waits for the next event and handles it; false as above.
  bool WaitForEvent();
  // A 10 ms pause followed by the pending events; false as above.
  bool Pause();
  void SetBoxesFromKindMask();
  void BuildSaveBitBtn();
  // PlayPanel, ArchPanel and SaveBitBtn as the window's state asks.
  void PlacePlayPanel();
  void SetStepRunButtonsEnabled(bool enabled);
  // The window to the export's core: the walk's front end and the source
  // of the export loop (ArchViewEngine.cpp, ArchViewExport.cpp).
  class ExportWalkFront;
  class ExportFromWindow;
  // The export into a new folder in the destination, named after the
  // start stamp, and the message at its end. False when the window was
  // destroyed meanwhile (the caller must then return without touching it).
  bool ExportInterval(const ExportDestination& destination, double startStamp);
  // A step; paced: a step of a run, whose frame waits for real time.
  void StepFrame(bool forward, bool paced);
  // What a step of a run does with the frame it read, after waiting until
  // the wall clock reaches it (ArchViewRealTime.cpp): shows it, drops it
  // (stopped or moved meanwhile), passes over it (too late) or returns (the
  // window is gone).
  enum class PaceResult { Show, Dropped, PassOver, WindowGone };
  PaceResult AwaitRealTime();

  std::unique_ptr<Ui::ArchPanel> archUi_;
  std::unique_ptr<FramePipeline> pipeline_;
  // The interval exactly as set; the pickers show it to the millisecond.
  double intervalStart_ = 0.0;
  double intervalEnd_ = 0.0;
  // PlayPanel's place on RecPanel, as the form has it.
  QPoint playPanelHome_;
  bool exporting_ = false;
  // The export under way has yet to take the record its start landed on.
  bool exportLanding_ = false;
  bool landingPending_ = false;
  RecordKey landingKey_;
  // Wanted frames of the export under way that the archive could not give.
  std::int64_t exportUnreadable_ = 0;
  // Where the last export went: the next export's dialog opens there.
  QString exportDirectory_;
};
