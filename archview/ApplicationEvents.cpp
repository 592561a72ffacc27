#include "archview/ApplicationEvents.h"

#include <QCoreApplication>
#include <QEvent>

#include "archview/ArchView.h"

TApplicationEvents::TApplicationEvents(TArchView* window)
    : QObject(window), window_(window) {
  QCoreApplication::instance()->installEventFilter(this);
}

TApplicationEvents::~TApplicationEvents() {
  if (QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(this);
}

bool TApplicationEvents::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::Type(AutoPlayMessage)) return false;
  // The run started here may outlive this hook: the window (and this child
  // of it) can be destroyed while it is on the stack. Only locals are used
  // after it.
  QPointer<TArchView> window = window_;
  QPointer<QObject> receiver = watched;
  if (window) window->ApplicationEventsMessage(watched, event);
  // The event goes on to its receiver, unless the receiver is gone.
  return receiver.isNull();
}
