#pragma once

#include <string>

namespace tarvik {

// A request to stop from outside (Ctrl+C, a closed terminal or console, `timeout`, a service
// manager) only sets a flag, which the check turns into its abort command at its next message
// pump, so that the run ends with its abort lines, the list's closing line and the summary. A
// second request ends the program at once, for instance while a read hangs on a damaged disc,
// after a line on standard error that says the check is incomplete.
//
// On Linux the requests are SIGINT, SIGTERM and SIGHUP; on Windows the console's Ctrl+C,
// Ctrl+Break and close events, which count as SIGINT, SIGBREAK and SIGHUP.
void CatchInterrupt();
bool InterruptRequested();
// The exit status of a run that such a request stopped: 128 plus the signal's number.
int InterruptedStatus();
// What stopped the run: "SIGINT (Ctrl+C)", "SIGTERM", "SIGHUP", "Ctrl+Break" or "closing the
// console".
std::string InterruptSignalName();

}  // namespace tarvik
