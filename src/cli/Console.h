#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "cli/LocaleText.h"

namespace tarvik {

// Where a check without a window writes: problem lines and the summary to standard output,
// notices to standard error, and on a terminal one progress line on standard error that is
// rewritten in place. Every line is flushed as it is written, so that a script reading the
// output sees each problem when it is found.
//
// Standard output that cannot be written ends the program at once: silently, as a signal
// would, when its reader has gone (`tarvik-check ... | head -1`, also while nothing is being
// printed), with a message and kExitError otherwise (a full disk). After a stop signal it
// no longer does: a closed terminal takes the output, and the run still ends as stopped.
// `line` with every control character but TAB shown as the program shows one in a name (U+F000
// plus its code; a C1 control byte by byte), so that what a user typed or a checksum file held
// never reaches the terminal as a command to it.
std::string VisibleText(std::string_view line);

class Console {
 public:
  // `quiet` leaves out the summary, the notices and the progress; every line is written in
  // `locale`'s character set.
  Console(std::FILE* out, std::FILE* err, bool quiet, const LocaleText& locale);

  void ProblemLine(std::string_view line);
  void SummaryLine(std::string_view line);
  // A line of what the command was asked to print (the history's table), also when quiet.
  void AnswerLine(std::string_view line) { Write(out_, line); }
  // A box the engine would show; it goes to standard error.
  void Notice(std::string_view text);
  // The text of an error that ends the program, also when quiet.
  void Error(std::string_view text);

  // Whether Progress() has something to do now: at most four times a second, and only with a
  // progress line or a pipe on standard output. Cheap, as it is asked per block; the line
  // itself is made only when due.
  bool ProgressDue() const;
  // Ends the program if standard output's reader has gone; on a terminal, shows the file being
  // read, its share read, the read speed and the time the file still needs, the last two where
  // they are known.
  void Progress(const std::string& file, std::int64_t percent,
                std::optional<double> megabytes_per_second, std::optional<double> seconds_left);

 private:
  using Clock = std::chrono::steady_clock;

  void Write(std::FILE* stream, std::string_view line);
  // Ends the program after standard output failed with `error`, unless a stop signal came.
  void OutputFailed(int error);
  // Removes the progress line, so that the next line starts at the left edge of a clean line.
  void ClearProgress();

  const LocaleText& locale_;
  std::FILE* out_;
  std::FILE* err_;
  bool quiet_;
  bool shows_progress_;
  // Standard output is a pipe or a socket, whose reader can go away while nothing is written.
  bool out_is_pipe_;
  int columns_ = 80;
  bool progress_shown_ = false;
  Clock::time_point next_progress_{};
};

}  // namespace tarvik
