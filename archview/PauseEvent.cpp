#include "archview/PauseEvent.h"

#include "platform/Clock.h"

void TPauseEvent::Wait(unsigned long milliseconds) {
  ElapsedSleep(static_cast<int>(milliseconds));
}
