#pragma once

#include <sys/resource.h>

#include <csignal>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace tarvik {

// What a run of the tarvik-check binary printed and how it ended.
struct ProcessResult {
  // The exit status; 128 plus the signal when a signal ended the program.
  int status = -1;
  std::string out;
  std::string err;
};

struct ProcessRun {
  // Where the program starts; empty for the test's own working directory.
  std::string working_directory;
  // Standard error goes to a pseudo-terminal instead of a pipe.
  bool err_on_terminal = false;
  // "NAME=value" entries added to the test's own environment, replacing a variable of the
  // same name.
  std::vector<std::string> environment;
  // Asked while the program runs, with what it printed so far; the first time it says yes,
  // the program gets `interrupt_signal`: SIGINT, as from Ctrl+C, unless said otherwise.
  std::function<bool(const ProcessResult& so_far)> interrupt_when;
  int interrupt_signal = SIGINT;
  // Sent right after `interrupt_signal`; 0 for none.
  int second_signal = 0;
  // Nobody reads standard output: its pipe is closed from the start.
  bool out_unread = false;
  // Resource limits (RLIMIT_...) set on the program before it starts.
  std::vector<std::pair<int, rlim_t>> limits;
};

// Runs the built binary and collects its output until it ends. A program that does not end
// within two minutes is killed and reported as status -1.
ProcessResult RunCheckBinary(std::vector<std::string> args, const ProcessRun& run = {});

// The lines of a program's output, without their line ends.
std::vector<std::string> Lines(const std::string& text);

// A POSIX path in drive form, on the machine's own drive table as the binary sees it.
std::string DrivePath(const std::string& posix_path);

}  // namespace tarvik
