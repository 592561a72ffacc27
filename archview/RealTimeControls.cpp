#include "archview/RealTimeControls.h"

#include <QLabel>
#include <QSlider>
#include <QTimer>
#include <QToolButton>

#include "archview/ArchView.h"
#include "archview/PlaybackState.h"
#include "platform/Clock.h"

TRealTimeControls::TRealTimeControls(TArchView& window) : QObject(&window), window_(window) {
  for (QWidget* widget : std::initializer_list<QWidget*>{window.RealTimeBtn, window.SpeedLabel}) {
    QFont font = widget->font();
    font.setPixelSize(11);  // the pickers' face: "×0.05" fits beside the bar
    widget->setFont(font);
  }
  // The operator who asks for real time gets it where it applies.
  connect(window.RealTimeBtn, &QToolButton::clicked, this, [this](bool on) {
    if (on) window_.SpeedBar->setValue(0);
  });
  connect(window.RealTimeBtn, &QToolButton::toggled, this, [this] { Restart(); });
  // Connected after the window's own handlers, so these run after them.
  connect(window.SpeedBar, &QSlider::valueChanged, this, [this] { Restart(); });
  connect(window.StopBtn, &QToolButton::toggled, this, [this] { Restart(); });
  connect(window.Timer, &QTimer::timeout, this, [this] { UpdateReadout(); });
}

bool TRealTimeControls::Applies() const {
  return window_.RealTimeBtn->isChecked() && window_.SpeedBar->value() <= 0;
}

void TRealTimeControls::Restart() {
  pacer_.Restart(PlaybackTime);
  meter_.Reset();
}

void TRealTimeControls::NoteStep() { meter_.Sample(ElapsedSeconds(), PlaybackTime); }

void TRealTimeControls::UpdateReadout() {
  QString text;
  if (!StopRequested) {
    const double speed = Frozen ? 0.0 : meter_.Speed();
    // Too early after a change to tell: the last figure stands.
    text = speed < 0.0 ? window_.SpeedLabel->text() : SpeedReadoutText(speed);
  }
  if (window_.SpeedLabel->text() != text) window_.SpeedLabel->setText(text);
}
