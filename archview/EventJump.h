#pragma once
// TEventJump: the jumps to the next and the previous event, from the strip's
// two buttons and the keys Ctrl+Right and Ctrl+Left (outside full screen).
// An event is the start of a run of activity or motion (timeline/, a gap of
// 5 s) of a camera whose cell is visible, of a kind the boxes let through;
// the jump goes to the first such start strictly after the position, or the
// last strictly before it, within the interval. The position moves there as
// a click on the position bar moves it (TArchView::MoveToTime): stopped or
// frozen the pictures there are shown, during a run playback goes on from
// there (the window's follower, on Moved). No such event: a beep, and
// nothing changes.

#include <QObject>

#include <optional>

class TArchView;
class TTimelineFeed;

class TEventJump final : public QObject {
  Q_OBJECT

 public:
  // A child of the window; wires the strip's buttons and the keys.
  TEventJump(TArchView& window, const TTimelineFeed& feed);

  // Where the jump would go now; nothing when there is no event that way.
  std::optional<double> Target(bool forward) const;
  // Jumps, or beeps.
  void Jump(bool forward);

 signals:
  // The position moved to an event.
  void Moved();

 private:
  TArchView& window_;
  const TTimelineFeed& feed_;
};
