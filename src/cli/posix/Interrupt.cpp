#include "cli/Interrupt.h"

#include <unistd.h>

#include <csignal>

namespace tarvik {

namespace {

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

volatile std::sig_atomic_t interrupted_by = 0;
// Learned before any signal: isatty is no call for a signal handler.
bool err_on_terminal = false;

void SetStopHandlers(void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  for (const int signal : kStopSignals) sigaddset(&action.sa_mask, signal);
  // SA_RESTART: a read in progress goes on and the engine stops after it.
  action.sa_flags = SA_RESTART;
  for (const int signal : kStopSignals) sigaction(signal, &action, nullptr);
}

// Says why the program ends, then ends it as the signal's default action does, so that the
// status stays 128 plus the signal's number. Only write, sigaction and raise: all three are
// async-signal-safe.
void OnSecondStopSignal(int signal) {
  // On a terminal the line replaces the progress line.
  constexpr char kClearLine[] = "\r\x1b[K";
  constexpr char kLine[] = "tarvik-check: stopped by a second signal: the check is incomplete\n";
  if ((err_on_terminal && write(STDERR_FILENO, kClearLine, sizeof kClearLine - 1) < 0) ||
      write(STDERR_FILENO, kLine, sizeof kLine - 1) < 0) {
    // Nowhere left to say it; the program ends all the same.
  }
  SetStopHandlers(SIG_DFL);
  // Blocked while this handler runs; delivered, with the default action, as it returns.
  raise(signal);
}

void OnStopSignal(int signal) {
  interrupted_by = signal;
  // The next stop signal, of any of the three, ends the program at once.
  SetStopHandlers(OnSecondStopSignal);
}

}  // namespace

void CatchInterrupt() {
  err_on_terminal = isatty(STDERR_FILENO) == 1;
  SetStopHandlers(OnStopSignal);
}

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
