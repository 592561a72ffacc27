#pragma once
// TPauseEvent: the playback pause. An event that is never signalled; a timed
// wait on it sleeps the user-interface thread without spinning.

#include <QMutex>
#include <QWaitCondition>

class TPauseEvent {
 public:
  TPauseEvent() = default;
  TPauseEvent(const TPauseEvent&) = delete;
  TPauseEvent& operator=(const TPauseEvent&) = delete;

  // Blocks for milliseconds (nobody signals the event).
  void Wait(unsigned long milliseconds);

 private:
  QMutex mutex_;
  QWaitCondition never_;
};
