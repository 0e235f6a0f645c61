#pragma once

#include "cli/CommandLine.h"
#include "cli/Console.h"
#include "cli/ExitStatus.h"

namespace tarvik {

// Checks the directory of the options with the main window's own engine, as its start command
// does with the same settings, and prints each problem line as it is found and a summary.
// Ctrl+C is the abort command. Each file checked gets its row in the report, if one is asked
// for. Returns the exit status.
int RunCheck(const CheckOptions& options, Console& console);

}  // namespace tarvik
