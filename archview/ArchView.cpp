// The window's life: creation, the archive panel, showing, closing and
// destruction, and the placement kept in OrxViewer.cfg.

#include "archview/ArchView.h"

#include <QAbstractSlider>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QSignalBlocker>
#include <QSlider>
#include <QTimeEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include "archive/OrxRead.h"
#include "archview/ApplicationEvents.h"
#include "archview/FullScreenKeys.h"
#include "archview/IntervalPickerFit.h"
#include "archview/FramePipeline.h"
#include "archview/PauseEvent.h"
#include "archview/PlayGlyphs.h"
#include "archview/PlaybackState.h"
#include "archview/PositionBarMouse.h"
#include "archview/PositionMoveFollower.h"
#include "archview/RealTimeControls.h"
#include "archview/SpeedBarMarks.h"
#include "archview/TimelineStrip.h"
#include "common/RecordKind.h"
#include "platform/qt/LocaleFormats.h"
#include "platform/qt/PlatformServices.h"
#include "ui_ArchView.h"

namespace {

QFont PanelFont(int pixels) {
  QFont font(QStringLiteral("Liberation Sans"));
  font.setPixelSize(pixels);
  return font;
}

}  // namespace

std::unique_ptr<TPauseEvent> PauseEvent;

TArchView::TArchView(TOrxRead& reader, LayoutList& layouts, QWidget* parent)
    : TView(layouts, parent), Reader(reader) {
  // TView's construction has built the cells (its FormCreate).
  setObjectName(QStringLiteral("ArchView"));
  setWindowTitle(QStringLiteral("Архив"));
  BuildArchPanel();
  BuildTimeline();
  BuildSaveBitBtn();
  ArchButton->hide();
  ExitBtn->move(622, ExitBtn->y());
  StopBtn->setToolTip(QStringLiteral("Остановить"));
  ConnectHandlers();
  // Connected after the handlers: they act once the handlers have run.
  RealTime = new TRealTimeControls(*this);
  new TSpeedBarMarks(*this);
  new TPositionMoveFollower(*this);
  new TPositionBarMouse(*this);
  new TFullScreenKeys(*this);
  ReadPlacement();
  PlaybackStream = std::make_unique<FrameStream>();
  PlaybackDecoder = std::make_unique<FrameDecoder>();
  pipeline_ = std::make_unique<FramePipeline>(*this, *PlaybackDecoder);
  PauseEvent = std::make_unique<TPauseEvent>();
  ApplicationEvents = new TApplicationEvents(this);
}

TArchView::~TArchView() {
  TView::FormDestroy();
  WritePlacement();
  pipeline_.reset();  // its workers end before the decoder it uses goes
  PlaybackStream.reset();
  PlaybackDecoder.reset();
  PauseEvent.reset();
}

void TArchView::BuildArchPanel() {
  archUi_ = std::make_unique<Ui::ArchPanel>();
  ArchPanel = new QWidget(this);
  archUi_->setupUi(ArchPanel);
  ArchPanel->setFont(PanelFont(13));
  ClientLayout->addWidget(ArchPanel);

  FirstBox = archUi_->FirstBox;
  LeftRefreshBtn = archUi_->LeftRefreshBtn;
  FirstDate = archUi_->FirstDate;
  FirstTime = archUi_->FirstTime;
  RecPanel = archUi_->RecPanel;
  CurrentPos = archUi_->CurrentPos;
  OldDate = archUi_->OldDate;
  OldTime = archUi_->OldTime;
  NewDate = archUi_->NewDate;
  NewTime = archUi_->NewTime;
  SpeedBar = archUi_->SpeedBar;
  RealTimeBtn = archUi_->RealTimeBtn;
  SpeedLabel = archUi_->SpeedLabel;
  PlayPanel = archUi_->PlayPanel;
  LeftStep = archUi_->LeftStep;
  LeftRun = archUi_->LeftRun;
  StopArch = archUi_->StopArch;
  RightRun = archUi_->RightRun;
  RightStep = archUi_->RightStep;
  LastBox = archUi_->LastBox;
  RightRefreshBtn = archUi_->RightRefreshBtn;
  LastDate = archUi_->LastDate;
  LastTime = archUi_->LastTime;
  TimerRecBox = archUi_->TimerRecBox;
  ActiveRecBox = archUi_->ActiveRecBox;
  MoveRecBox = archUi_->MoveRecBox;
  HistRecBox = archUi_->HistRecBox;

  for (QCheckBox* box : {TimerRecBox, ActiveRecBox, MoveRecBox, HistRecBox})
    box->setFont(PanelFont(11));
  // The first and last record boxes are as narrow as the form has them; the
  // pickers' face lets a full date show without losing its first digit.
  for (QLineEdit* box : {FirstDate, FirstTime, LastDate, LastTime}) box->setFont(PanelFont(11));

  // The pickers hold wall-clock values: no time zone may shift them.
  const QString dateFormat = CurrentLocaleFormats().ShortDateFormat();
  const QString timeFormat = CurrentLocaleFormats().LongTimeFormat();
  // A smaller face keeps the pickers narrow.
  for (QDateTimeEdit* edit : std::initializer_list<QDateTimeEdit*>{OldDate, OldTime, NewDate, NewTime})
    edit->setFont(PanelFont(11));
  for (QDateEdit* edit : {OldDate, NewDate}) {
    edit->setTimeSpec(Qt::UTC);
    edit->setDisplayFormat(dateFormat);
    edit->setMinimumDate(QDate(100, 1, 1));
  }
  for (QTimeEdit* edit : {OldTime, NewTime}) {
    edit->setTimeSpec(Qt::UTC);
    edit->setDisplayFormat(timeFormat);
    edit->setMinimumDate(QDate(100, 1, 1));
  }
  FitIntervalPickers(*this);

  PlayGroup = new QButtonGroup(PlayPanel);
  PlayGroup->setExclusive(true);
  const std::pair<QToolButton*, PlayGlyph> buttons[] = {
      {LeftStep, PlayGlyph::StepBack},  {LeftRun, PlayGlyph::RunBack},
      {StopArch, PlayGlyph::Stop},      {RightRun, PlayGlyph::RunForward},
      {RightStep, PlayGlyph::StepForward}};
  for (const auto& [button, glyph] : buttons) {
    button->setIcon(MakePlayGlyph(glyph));
    button->setIconSize(QSize(16, 16));
    PlayGroup->addButton(button);
  }
  StopArch->setChecked(true);
}

void TArchView::ConnectHandlers() {
  connect(LeftStep, &QToolButton::clicked, this, [this] { LeftStepClick(); });
  connect(RightStep, &QToolButton::clicked, this, [this] { RightStepClick(); });
  connect(LeftRun, &QToolButton::clicked, this, [this] { LeftRunClick(); });
  connect(RightRun, &QToolButton::clicked, this, [this] { RightRunClick(); });
  connect(StopArch, &QToolButton::clicked, this, [this] { StopArchClick(); });
  connect(SpeedBar, &QSlider::valueChanged, this, [this](int p) { SpeedBarChange(p); });
  connect(LeftRefreshBtn, &QPushButton::clicked, this, [this] { LeftRefreshBtnClick(); });
  connect(RightRefreshBtn, &QPushButton::clicked, this, [this] { RightRefreshBtnClick(); });
  // Program-set values are blocked, so these run for the operator's edits.
  connect(OldDate, &QDateEdit::dateTimeChanged, this, [this] { OldDateChange(); });
  connect(OldTime, &QTimeEdit::dateTimeChanged, this, [this] { OldTimeChange(); });
  connect(NewDate, &QDateEdit::dateTimeChanged, this, [this] { NewDateChange(); });
  connect(NewTime, &QTimeEdit::dateTimeChanged, this, [this] { NewTimeChange(); });
  // The bar acts at the end of a scroll action only: an arrow or track click
  // (actionTriggered) or the release of the thumb; never while dragging.
  connect(CurrentPos, &QScrollBar::actionTriggered, this, [this](int action) {
    if (action != QAbstractSlider::SliderMove && action != QAbstractSlider::SliderNoAction)
      CurrentPosScroll(action);
  });
  connect(CurrentPos, &QScrollBar::sliderReleased, this, [this] { CurrentPosScroll(-1); });
  for (QCheckBox* box : {TimerRecBox, ActiveRecBox, MoveRecBox, HistRecBox})
    connect(box, &QCheckBox::clicked, this, [this] { TimerRecBoxClick(); });
  connect(SaveBitBtn, &QPushButton::clicked, this, [this] { SaveBitBtnClick(); });
  connect(TimelineStrip, &TTimelineStrip::TimeClicked, this, [this](double t) { MoveToTime(t); });
  connect(TimelineStrip, &TTimelineStrip::IntervalMarked, this,
          [this](double from, double to) { MarkInterval(from, to); });
}

void TArchView::ReadPlacement() {
  QSettings config(ViewerConfigPath(), QSettings::IniFormat);
  config.beginGroup(QStringLiteral("ArchView"));
  const int top = config.value(QStringLiteral("Top"), 0).toInt();
  const int left = config.value(QStringLiteral("Left"), 0).toInt();
  const int width = config.value(QStringLiteral("Width"), 640).toInt();
  const int height = config.value(QStringLiteral("Height"), 480).toInt();
  move(left, top);
  // The minimum size of the window still applies.
  resize(std::max(width, minimumWidth()), std::max(height, minimumHeight()));
}

void TArchView::WritePlacement() const {
  QSettings config(ViewerConfigPath(), QSettings::IniFormat);
  config.beginGroup(QStringLiteral("ArchView"));
  config.setValue(QStringLiteral("Top"), y());
  config.setValue(QStringLiteral("Left"), x());
  config.setValue(QStringLiteral("Width"), width());
  config.setValue(QStringLiteral("Height"), height());
  config.endGroup();
  config.sync();
}

void TArchView::FormShow() {
  TView::FormShow();
  // The window starts with the focus on the record panel, so typed keys
  // reach the window rather than the layout name field.
  RecPanel->setFocus();
  if (Reader.Open()) {
    SetArchControlsVisible(true);
  } else {
    Platform().Information(nullptr, QString(), QStringLiteral("Архив не найден или пуст"));
    SetArchControlsVisible(false);
  }
  RightRefreshBtnClick();
  LeftRefreshBtnClick();
  Frozen = false;
  StopBtn->setChecked(false);
  // A window closed while frozen left the hint of the frozen state.
  StopBtn->setToolTip(QStringLiteral("Остановить"));
  SpeedBar->setValue(0);
  FrameDelay = 0;
  SkipCount = 1;
  SetBoxesFromKindMask();
  ClampPosition();
  QCoreApplication::postEvent(this, new QEvent(QEvent::Type(AutoPlayMessage)));
}

void TArchView::SetBoxesFromKindMask() {
  bool changed = false;
  const std::pair<QCheckBox*, std::uint32_t> boxes[] = {{TimerRecBox, KindContinuous},
                                                       {ActiveRecBox, KindActivity},
                                                       {MoveRecBox, KindMotion},
                                                       {HistRecBox, KindMotionHistory}};
  for (const auto& [box, bit] : boxes) {
    const bool ticked = (KindMask & bit) != 0;
    if (box->isChecked() != ticked) {
      box->setChecked(ticked);
      changed = true;
    }
  }
  // A box whose state changed runs its click handler, as a click would.
  if (changed) TimerRecBoxClick();
}

void TArchView::TimerRecBoxClick() {
  KindMask = (TimerRecBox->isChecked() ? KindContinuous : 0) |
             (ActiveRecBox->isChecked() ? KindActivity : 0) |
             (MoveRecBox->isChecked() ? KindMotion : 0) |
             (HistRecBox->isChecked() ? KindMotionHistory : 0);
  ClampPosition();
}

void TArchView::FormClose() {
  // Full screen is left first, so the play buttons are back on their panel
  // and the placement written later is the normal one.
  if (IsFullScreen()) SizeItemClick();
  Reader.Close();
  TView::FormClose();
}
