#pragma once

#include <string>

namespace tarvik {

// Ctrl+C (SIGINT), SIGTERM and SIGHUP (a closed terminal, `timeout`, a service manager) only
// set a flag, which the check turns into its abort command at its next message pump, so that
// the run ends with its abort lines, the list's closing line and the summary. A second such
// signal ends the program at once, for instance while a read hangs on a damaged disc, after a
// line on standard error that says the check is incomplete.
void CatchInterrupt();
bool InterruptRequested();
// The exit status of a run that such a signal stopped: 128 plus the signal's number.
int InterruptedStatus();
// The name of the signal that stopped the run: "SIGINT (Ctrl+C)", "SIGTERM" or "SIGHUP".
std::string InterruptSignalName();

}  // namespace tarvik
