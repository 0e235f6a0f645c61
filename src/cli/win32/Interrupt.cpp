#include "cli/Interrupt.h"

#include <windows.h>

#include <atomic>

namespace tarvik {

namespace {

// The numbers a POSIX shell would see for the same requests, so that statuses stay the same on
// both systems.
constexpr int kSigInt = 2;
constexpr int kSigHup = 1;
constexpr int kSigBreak = 21;

std::atomic<int> interrupted_by{0};

// How long a closing console waits for the run to end with its lines; Windows ends the
// process itself five seconds after the event.
constexpr DWORD kCloseWaitMs = 4000;

int SignalOf(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
      return kSigInt;
    case CTRL_BREAK_EVENT:
      return kSigBreak;
    default:
      return kSigHup;
  }
}

// Runs on a thread of its own that Windows starts for each event.
BOOL WINAPI OnConsoleEvent(DWORD event) {
  const int signal = SignalOf(event);
  int expected = 0;
  if (!interrupted_by.compare_exchange_strong(expected, signal)) {
    constexpr char kLine[] =
        "\ntarvik-check: stopped by a second signal: the check is incomplete\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), kLine, sizeof kLine - 1, &written, nullptr);
    ExitProcess(static_cast<UINT>(128 + signal));
  }
  // A closing console ends the process as soon as this returns: the run gets the time it
  // needs to stop, then ends the process itself.
  if (signal == kSigHup) Sleep(kCloseWaitMs);
  return TRUE;
}

}  // namespace

void CatchInterrupt() { SetConsoleCtrlHandler(OnConsoleEvent, TRUE); }

bool InterruptRequested() { return interrupted_by.load() != 0; }

int InterruptedStatus() { return 128 + interrupted_by.load(); }

std::string InterruptSignalName() {
  switch (interrupted_by.load()) {
    case kSigInt:
      return "SIGINT (Ctrl+C)";
    case kSigBreak:
      return "Ctrl+Break";
    case kSigHup:
      return "closing the console";
  }
  return "signal " + std::to_string(interrupted_by.load());
}

}  // namespace tarvik
