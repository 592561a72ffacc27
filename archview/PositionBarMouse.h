#pragma once
// TPositionBarMouse: the position bar under the mouse. The wheel moves the
// playback position as a click in the track does, a twentieth of the
// interval per notch (the bar alone would move its thumb and not the
// position). While the thumb is held, the bar's hint shows, and pops up,
// the date and time its release would go to; the release puts the hint back.

#include <QObject>
#include <QString>

class QScrollBar;
class TArchView;

class TPositionBarMouse final : public QObject {
  Q_OBJECT

 public:
  // A child of the window; filters the bar's wheel events.
  explicit TPositionBarMouse(TArchView& window);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowThumbTime(int position);

  TArchView& window_;
  // The bar itself, not reached through the window: its hide events still
  // pass this filter while the window is half destroyed.
  QScrollBar* bar_;
  QString hint_;        // the bar's own hint, while the thumb's time stands in
  int wheelDelta_ = 0;  // eighths of a degree not yet a whole notch
};
