#include "cli/Interrupt.h"

#include <csignal>

namespace tarvik {

namespace {

volatile std::sig_atomic_t interrupted = 0;

void OnInterrupt(int) { interrupted = 1; }

}  // namespace

void CatchInterrupt() {
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  // SA_RESTART: a read in progress goes on and the engine stops after it.
  action.sa_flags = SA_RESETHAND | SA_RESTART;
  sigaction(SIGINT, &action, nullptr);
}

bool InterruptRequested() { return interrupted != 0; }

}  // namespace tarvik
