#include "archview/EventJump.h"

#include <QKeySequence>
#include <QShortcut>
#include <QToolButton>

#include "archview/ArchView.h"
#include "archview/PlaybackState.h"
#include "archview/TimelineFeed.h"
#include "archview/TimelineStrip.h"
#include "platform/qt/PlatformServices.h"

TEventJump::TEventJump(TArchView& window, const TTimelineFeed& feed)
    : QObject(&window), window_(window), feed_(feed) {
  connect(window.TimelineStrip->PreviousEventBtn, &QToolButton::clicked, this,
          [this] { Jump(false); });
  connect(window.TimelineStrip->NextEventBtn, &QToolButton::clicked, this, [this] { Jump(true); });
  for (const bool forward : {false, true}) {
    auto* key = new QShortcut(QKeySequence(Qt::CTRL | (forward ? Qt::Key_Right : Qt::Key_Left)),
                              &window);
    // In full screen the strip is hidden, and so are its jumps.
    connect(key, &QShortcut::activated, this, [this, forward] {
      if (!window_.IsFullScreen()) Jump(forward);
    });
  }
}

std::optional<double> TEventJump::Target(bool forward) const {
  const TimelineRuns& runs = feed_.Runs();
  const std::optional<double> start = forward ? runs.NextEvent(PlaybackTime, CameraMask, KindMask)
                                              : runs.PreviousEvent(PlaybackTime, CameraMask, KindMask);
  // Playback keeps to the interval: an event outside it is out of reach.
  if (!start || *start < window_.IntervalStart() || *start > window_.IntervalEnd())
    return std::nullopt;
  return start;
}

void TEventJump::Jump(bool forward) {
  const std::optional<double> target = Target(forward);
  if (!target) {
    Platform().Beep();
    return;
  }
  window_.MoveToTime(*target);
  emit Moved();
}
