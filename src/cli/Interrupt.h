#pragma once

namespace tarvik {

// Ctrl+C (SIGINT) only sets a flag, which the check turns into its abort command at its next
// message pump. The handler is then removed, so that a second Ctrl+C ends the program at once,
// for instance while a read hangs on a damaged disc.
void CatchInterrupt();
bool InterruptRequested();

}  // namespace tarvik
