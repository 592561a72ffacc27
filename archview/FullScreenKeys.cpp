#include "archview/FullScreenKeys.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

#include "archview/ArchView.h"

TFullScreenKeys::TFullScreenKeys(TArchView& window) : QObject(&window), window_(window) {
  QCoreApplication::instance()->installEventFilter(this);
}

TFullScreenKeys::~TFullScreenKeys() {
  if (QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(this);
}

bool TFullScreenKeys::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress || watched == &window_) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  if (key->text().isEmpty() || !window_.IsFullScreen()) return false;
  // Only the window's own controls; menus and dialogs are windows of their own.
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || !window_.isAncestorOf(widget)) return false;
  QCoreApplication::sendEvent(&window_, key);
  return true;
}
