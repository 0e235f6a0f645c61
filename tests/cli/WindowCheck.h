#pragma once

#include <functional>
#include <string>
#include <vector>

#include "CheckProcess.h"
#include "app/TForm1.h"
#include "platform/Platform.h"

namespace tarvik {

// What the main window showed at the end of its check.
struct WindowOutcome {
  std::vector<std::string> problems;
  std::vector<std::string> error_boxes;
  std::string totals;  // as the binary's summary line gives them
  std::string verdict;
};

// The main window's check of the platform's current directory, answered as the binary answers
// its questions: from the first file, on after every problem file, the list file written to
// `list_file` (drive form). `settings` makes the binary's options in the window, whose
// subdirectory box starts clear.
WindowOutcome CheckInWindow(Platform& platform, const std::string& list_file,
                            const std::function<void(TForm1&)>& settings);

// The binary printed the window's problem lines, totals and verdict, and its error boxes on
// standard error.
void ExpectSameAsWindow(const ProcessResult& cli, const WindowOutcome& window);

// A list file without its first line, which holds the time it was made.
std::string ListWithoutDate(const std::string& bytes);

}  // namespace tarvik
