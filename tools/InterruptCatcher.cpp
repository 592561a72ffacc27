#include "tools/InterruptCatcher.h"

namespace {

// A signal handler can only leave a mark.
volatile std::sig_atomic_t gCaught = 0;

extern "C" void MarkCaught(int) { gCaught = 1; }

void Catch(int signal, struct sigaction& previous) {
  if (::sigaction(signal, nullptr, &previous) != 0 || previous.sa_handler == SIG_IGN) return;
  struct sigaction action {};
  action.sa_handler = MarkCaught;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESETHAND;  // the next one kills
  ::sigaction(signal, &action, nullptr);
  // One sent before the handler was in place, while it was blocked, counts.
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, signal);
  ::sigprocmask(SIG_UNBLOCK, &set, nullptr);
}

}  // namespace

InterruptCatcher::InterruptCatcher() {
  gCaught = 0;
  Catch(SIGINT, previousInt_);
  Catch(SIGTERM, previousTerm_);
}

InterruptCatcher::~InterruptCatcher() {
  ::sigaction(SIGINT, &previousInt_, nullptr);
  ::sigaction(SIGTERM, &previousTerm_, nullptr);
}

bool InterruptCatcher::Caught() const { return gCaught != 0; }
