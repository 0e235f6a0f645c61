#include "cli/Interrupt.h"

#include <csignal>

namespace tarvik {

namespace {

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

volatile std::sig_atomic_t interrupted_by = 0;

void SetStopHandlers(void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  for (const int signal : kStopSignals) sigaddset(&action.sa_mask, signal);
  // SA_RESTART: a read in progress goes on and the engine stops after it.
  action.sa_flags = SA_RESTART;
  for (const int signal : kStopSignals) sigaction(signal, &action, nullptr);
}

void OnStopSignal(int signal) {
  interrupted_by = signal;
  // sigaction is async-signal-safe: the next stop signal, of any of the three, ends the
  // program at once.
  SetStopHandlers(SIG_DFL);
}

}  // namespace

void CatchInterrupt() { SetStopHandlers(OnStopSignal); }

bool InterruptRequested() { return interrupted_by != 0; }

int InterruptedStatus() { return 128 + interrupted_by; }

std::string InterruptSignalName() {
  switch (interrupted_by) {
    case SIGINT:
      return "SIGINT (Ctrl+C)";
    case SIGTERM:
      return "SIGTERM";
    case SIGHUP:
      return "SIGHUP";
  }
  return "signal " + std::to_string(interrupted_by);
}

}  // namespace tarvik
