#pragma once
// TFullScreenKeys: in full screen, a character key always reaches the
// window's own key handler, whichever of its controls has the focus: a
// focused button would take Space or Enter as a click, a picker or a list
// would take the character, and the key would never leave full screen.
// Keys without a character (arrows, function keys) go their usual way.

#include <QObject>

class TArchView;

class TFullScreenKeys final : public QObject {
  Q_OBJECT

 public:
  // A child of the window; filters the application's key presses.
  explicit TFullScreenKeys(TArchView& window);
  ~TFullScreenKeys() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TArchView& window_;
};
