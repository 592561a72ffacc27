#pragma once
// TPauseEvent: the playback pause. An event that is never signalled; a timed
// wait on it sleeps the user-interface thread without spinning. The time
// passes on the elapsed clock (platform/Clock.h), so a test's scripted clock
// lets it pass at once.

class TPauseEvent {
 public:
  TPauseEvent() = default;
  TPauseEvent(const TPauseEvent&) = delete;
  TPauseEvent& operator=(const TPauseEvent&) = delete;

  // Blocks for milliseconds (nobody signals the event).
  void Wait(unsigned long milliseconds);
};
