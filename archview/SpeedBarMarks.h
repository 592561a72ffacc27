#pragma once
// TSpeedBarMarks: the speed bar's marks while "1×" is on (the whole
// doublings of archview/SpeedScale.h): a drag of the thumb that comes near
// a mark lands on it, a page step (a click in the track, Page Up, Page Down)
// goes to the next mark, and the marks are drawn as ticks under the bar.
// Arrow keys and the wheel still move by single positions. With "1×" off the
// bar is left as it is.

#include <QObject>

class QSlider;
class QWidget;
class TArchView;

class TSpeedBarMarks final : public QObject {
  Q_OBJECT

 public:
  // A child of the window; watches the bar's actions and size.
  explicit TSpeedBarMarks(TArchView& window);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Adjust(int action);

  TArchView& window_;
  // The bar itself, not reached through the window: its events still pass
  // this filter while the window is half destroyed.
  QSlider* bar_;
  QWidget* ticks_;  // drawn over the bar, a child of it
};
