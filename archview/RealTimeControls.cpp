#include "archview/RealTimeControls.h"

#include <QLabel>
#include <QSlider>
#include <QTimer>
#include <QToolButton>

#include "archview/ArchView.h"
#include "archview/PlaybackState.h"
#include "archview/SpeedScale.h"
#include "platform/Clock.h"

TRealTimeControls::TRealTimeControls(TArchView& window) : QObject(&window), window_(window) {
  for (QWidget* widget : std::initializer_list<QWidget*>{window.RealTimeBtn, window.SpeedLabel}) {
    QFont font = widget->font();
    font.setPixelSize(11);  // the pickers' face
    widget->setFont(font);
  }
  // "1×" means what it says: switched on, the run goes at ×1.
  connect(window.RealTimeBtn, &QToolButton::clicked, this, [this](bool on) {
    if (on) window_.SpeedBar->setValue(0);
  });
  connect(window.RealTimeBtn, &QToolButton::toggled, this, [this] { Restart(); });
  // Connected after the window's own handlers, so these run after them.
  connect(window.SpeedBar, &QSlider::valueChanged, this, [this] { Restart(); });
  connect(window.StopBtn, &QToolButton::toggled, this, [this] { Restart(); });
  connect(window.Timer, &QTimer::timeout, this, [this] { UpdateReadout(); });
}

bool TRealTimeControls::Applies() const { return window_.RealTimeBtn->isChecked(); }

double TRealTimeControls::Multiple() const { return MultipleAt(window_.SpeedBar->value()); }

TRealTimeControls::Pace TRealTimeControls::Judge(double archiveTime) {
  const double now = ElapsedSeconds();
  const double gap = pacer_.GapSeconds(archiveTime);
  if (gap > TRealTimePacer::CrossGap) {
    // Nothing to show in between: the pacing goes on from this frame.
    pacer_.Restart(archiveTime, Multiple(), now);
    meter_.Reset();
    passingSince_ = -1.0;
    crossedSeconds_ = gap;
    crossedAt_ = now;
    UpdateReadout();
  }
  const double due = pacer_.DueIn(archiveTime, now);
  if (due > 0.0) return Pace::Wait;
  pacer_.NoteJudged(archiveTime);
  if (due < -CatchUpLag) {
    if (passingSince_ < 0.0) passingSince_ = now;
    if (now - passingSince_ <= LongestCatchUp) {
      ++passedOver_;
      return Pace::PassOver;
    }
  }
  passingSince_ = -1.0;
  ++shown_;
  return Pace::Show;
}

void TRealTimeControls::Restart() {
  pacer_.Restart(PlaybackTime, Multiple(), ElapsedSeconds());
  meter_.Reset();
  passingSince_ = -1.0;
  crossedAt_ = -1.0;
  UpdateReadout();
}

void TRealTimeControls::NoteStep() {
  meter_.Sample(ElapsedSeconds(), PlaybackTime, shown_, passedOver_);
}

void TRealTimeControls::NoteOutside(double began) {
  if (!pacer_.NoteOutside(began, ElapsedSeconds())) return;
  // The speed across the stall says nothing of the run's.
  meter_.Reset();
  passingSince_ = -1.0;
}

void TRealTimeControls::UpdateReadout() {
  QString text;
  if (Applies()) {
    const bool running = !StopRequested && !Frozen;
    const double achieved = StopRequested ? -1.0 : Frozen ? 0.0 : meter_.Speed();
    text = RealTimeReadoutText(Multiple(), achieved, running ? meter_.PassedOverShare() : -1.0);
    if (running && crossedAt_ >= 0.0 && ElapsedSeconds() - crossedAt_ < CrossingShown)
      text += QStringLiteral(", ") + GapCrossedText(crossedSeconds_);
  } else if (!StopRequested) {
    const double speed = Frozen ? 0.0 : meter_.Speed();
    // Too early after a change to tell: the last figure stands.
    if (speed >= 0.0) freeText_ = SpeedReadoutText(speed);
    text = freeText_;
  }
  if (window_.SpeedLabel->text() != text) window_.SpeedLabel->setText(text);
}
