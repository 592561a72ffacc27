#pragma once
// InterruptCatcher: Ctrl-C (SIGINT) or SIGTERM during an export ends it
// after the frame in hand instead of killing the process, so the files
// made are finished and the manifest covers them. A second signal kills as
// usual. A signal the caller ignores stays ignored (a background job).

#include <csignal>

class InterruptCatcher {
 public:
  InterruptCatcher();
  // The earlier handlers come back.
  ~InterruptCatcher();
  InterruptCatcher(const InterruptCatcher&) = delete;
  InterruptCatcher& operator=(const InterruptCatcher&) = delete;

  // Whether a signal came since construction.
  bool Caught() const;

 private:
  struct sigaction previousInt_ {};
  struct sigaction previousTerm_ {};
};
