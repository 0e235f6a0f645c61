#pragma once

#include <string>

#include "app/TForm1.h"
#include "cli/CommandLine.h"
#include "cli/Console.h"

namespace tarvik {

// Whether the options ask for one of the history's commands instead of a check.
bool IsHistoryCommand(const CheckOptions& options);
// Runs that command on the history at `history` ("" when it has no place) for the volume of
// the form's current directory; `target` is PATH in drive form. The exit status.
int RunHistoryCommand(const CheckOptions& options, TForm1& form, const std::string& history,
                      const std::string& target, Console& console);
// What the check's history had to say: on standard error what could not be compared or
// recorded, in the summary what changed since the files' last good reads.
void ReportHistory(const TForm1& form, const std::string& history, Console& console);

}  // namespace tarvik
