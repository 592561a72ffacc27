#pragma once
// TPositionMoveFollower: what follows the operator's move of the position
// (the first and last record buttons, the position bar and its wheel, the
// interval pickers, the timeline's click and marking, the jumps to events)
// and a change of the kind filter. A move anchors real-time pacing afresh;
// while playback is stopped or frozen, either shows the picture at the
// position (archview/PictureAtPosition.h).
//
// It listens to the controls' own signals, connected after the window's
// handlers, so it runs once they have moved the position; the window's
// showing, which sets the controls from the program, starts nothing here.

#include <QObject>

class TArchView;

class TPositionMoveFollower final : public QObject {
  Q_OBJECT

 public:
  explicit TPositionMoveFollower(TArchView& window);

 private:
  void Follow(bool positionMoved);

  TArchView& window_;
};
