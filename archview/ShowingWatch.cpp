#include "archview/ShowingWatch.h"

#include <QEvent>

#include <utility>

#include "archive/OrxRead.h"
#include "archview/ArchView.h"

TShowingWatch::TShowingWatch(TArchView& window, QObject& owner,
                             std::function<void(VolumeList)> shown, std::function<void()> hidden)
    : QObject(&owner), window_(window), shown_(std::move(shown)), hidden_(std::move(hidden)) {
  window_.installEventFilter(this);
}

bool TShowingWatch::eventFilter(QObject* watched, QEvent* event) {
  if (watched != &window_ || event->spontaneous()) return false;
  if (event->type() == QEvent::Show) {
    // The window's showing opens the archive after this filter ran: the
    // reader starts once it is done.
    QMetaObject::invokeMethod(
        this,
        [this] { shown_(window_.Reader.IsOpen() ? window_.Reader.Volumes() : VolumeList()); },
        Qt::QueuedConnection);
  } else if (event->type() == QEvent::Hide) {
    hidden_();
  }
  return false;
}
