#pragma once

#include "cli/CommandLine.h"
#include "cli/Console.h"
#include "cli/ReportFile.h"

namespace tarvik {

// How tarvik-check ends.
inline constexpr int kExitNoProblem = 0;
inline constexpr int kExitProblems = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitError = 3;
inline constexpr int kExitInterrupted = 130;

// Checks the directory of the options with the main window's own engine, as its start command
// does with the same settings, and prints each problem line as it is found and a summary.
// Ctrl+C is the abort command. Each file checked gets its row in `report`, if one is given.
// Returns the exit status.
int RunCheck(const CheckOptions& options, Console& console, ReportFile* report);

}  // namespace tarvik
