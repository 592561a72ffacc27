#pragma once
// TApplicationEvents: the playback window's application-wide hook. Installed
// on qApp, it shows every event the application delivers to the window's
// ApplicationEventsMessage, which starts the forward run when the posted
// AutoPlayMessage comes out of the queue.

#include <QObject>
#include <QPointer>

class TArchView;

class TApplicationEvents final : public QObject {
  Q_OBJECT

 public:
  // A child of the window; installs itself on the application.
  explicit TApplicationEvents(TArchView* window);
  ~TApplicationEvents() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPointer<TArchView> window_;
};
