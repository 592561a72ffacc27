#pragma once
// TPositionMoveFollower: what follows the operator's move of the position
// (the first and last record buttons, the position bar, the interval
// pickers): real-time pacing is anchored afresh.
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
  void Follow();

  TArchView& window_;
};
