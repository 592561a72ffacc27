#include "archview/PauseEvent.h"

#include <QDeadlineTimer>
#include <QMutexLocker>

void TPauseEvent::Wait(unsigned long milliseconds) {
  QMutexLocker lock(&mutex_);
  QDeadlineTimer deadline(static_cast<qint64>(milliseconds));
  // A spurious wake-up waits again for what is left.
  while (!deadline.hasExpired()) never_.wait(&mutex_, deadline);
}
