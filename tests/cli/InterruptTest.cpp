// Ctrl+C during a long read: the abort command answered OK at every level.

#include <gtest/gtest.h>

#include <csignal>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "CheckProcess.h"
#include "support/TempDir.h"

namespace tarvik {
namespace {

// Far more than can be read before the test sends SIGINT, yet it takes no disk space.
constexpr std::int64_t kHugeFile = std::int64_t{64} << 30;

struct InterruptCase {
  const char* name;
  std::vector<std::string> options;
  const char* file;  // the huge file, below the checked directory
  bool err_on_terminal;
  // Files the level still at work checks after the abort; each gets its own abort line, as the
  // walk finishes the step it is in (here the start directory's files) before it ends.
  std::vector<std::string> also_aborted;
  // Files whose check had ended when the signal came.
  int checked_before;
  int signal = SIGINT;
};

// What the run says after its summary: the check is not the whole check its "Ok" stands for.
std::string StopLine(const InterruptCase& c, const std::string& file) {
  const char* signal = c.signal == SIGINT    ? "SIGINT (Ctrl+C)"
                       : c.signal == SIGTERM ? "SIGTERM"
                                             : "SIGHUP";
  return std::string("tarvik-check: stopped by ") + signal + " while reading '" + file +
         "': the check is incomplete, " + std::to_string(c.checked_before) +
         " file(s) checked before the stop";
}

void PrintTo(const InterruptCase& c, std::ostream* os) { *os << c.name; }

class InterruptTest : public ::testing::TestWithParam<InterruptCase> {
 protected:
  std::vector<std::string> ListedSoFar() const {
    try {
      return Lines(dir_.ReadFile("list.txt"));
    } catch (const std::runtime_error&) {
      return {};  // not made yet
    }
  }

  TempDir dir_;
};

TEST_P(InterruptTest, EndsWithTheAbortLineTheListsEndAndTheSignalsStatus) {
  const InterruptCase& c = GetParam();
  dir_.MakeFileOfSize("tree/A.BIN", 10);
  dir_.MakeSparseFile(std::string("tree/") + c.file, kHugeFile);
  const std::string huge = DrivePath(dir_.Path(std::string("tree/") + c.file));
  std::vector<std::string> args = c.options;
  args.insert(args.end(), {"-b", "2048", "-l", dir_.Path("list.txt"), dir_.Path("tree")});
  // A hashed read: the file stopped gets no line, the one read before it does.
  const bool hashed = c.options == std::vector<std::string>{"--sums=SUMS"};
  if (hashed) args.front() = "--sums=" + dir_.Path("SUMS");
  ProcessRun run;
  run.err_on_terminal = c.err_on_terminal;
  run.interrupt_signal = c.signal;
  // On a terminal the progress line names the file being read; elsewhere the list file does,
  // before the file is read.
  run.interrupt_when = [&](const ProcessResult& so_far) {
    if (c.err_on_terminal) return so_far.err.find(c.file) != std::string::npos;
    const std::vector<std::string> listed = ListedSoFar();
    return !listed.empty() && listed.back() == huge;
  };
  const ProcessResult result = RunCheckBinary(args, run);

  EXPECT_EQ(result.status, 128 + c.signal) << result.err;
  const std::vector<std::string> out = Lines(result.out);
  std::vector<std::string> expected = {
      "Файл : \"" + huge + "\" - отказ Пользователя от продолжения !",
      "Файл : \"" + huge + "\" - реально считанное кол-во байт не соотв. размеру файла !"};
  for (const std::string& file : c.also_aborted) {
    expected.push_back("Файл : \"" + DrivePath(dir_.Path("tree/" + file)) +
                       "\" - отказ Пользователя от продолжения !");
  }
  ASSERT_EQ(out.size(), expected.size() + 3) << result.out;
  EXPECT_EQ(std::vector<std::string>(out.begin(), out.end() - 3), expected);
  // A file whose reading was stopped on purpose is no problem file.
  EXPECT_EQ(out.back(), "Ok");
  EXPECT_EQ(ListedSoFar().back(), "-----------------The End.------------------");
  if (hashed) {
    const std::vector<std::string> sums = Lines(dir_.ReadFile("SUMS"));
    ASSERT_EQ(sums.size(), 1u);
    EXPECT_TRUE(sums.front().ends_with("  tree/A.BIN")) << sums.front();
  }
  if (c.err_on_terminal) {
    EXPECT_NE(result.err.find("%  "), std::string::npos) << result.err;
    EXPECT_NE(result.err.find(" Мб/с"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find(StopLine(c, huge)), std::string::npos) << result.err;
  } else {
    EXPECT_EQ(result.err, StopLine(c, huge) + "\n");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Runs, InterruptTest,
    ::testing::Values(
        InterruptCase{"PassProgressOnATerminal", {}, "HUGE.BIN", true, {}, 1},
        InterruptCase{"PassOutputToPipes", {}, "HUGE.BIN", false, {}, 1},
        InterruptCase{"HashedReadStopped", {"--sums=SUMS"}, "HUGE.BIN", false, {}, 1},
        InterruptCase{"WalkBelowTheStart", {"-r"}, "SUB/HUGE.BIN", false, {"A.BIN"}, 0},
        InterruptCase{"TermDuringAWalk", {"-r"}, "SUB/HUGE.BIN", false, {"A.BIN"}, 0, SIGTERM},
        InterruptCase{"HangUpOnATerminal", {}, "HUGE.BIN", true, {}, 1, SIGHUP}),
    [](const auto& info) { return std::string(info.param.name); });

// A second signal before the first has stopped the check: the program ends at once, but not
// silently.
TEST(SecondSignalTest, EndsTheProgramSayingTheCheckIsIncomplete) {
  TempDir dir;
  dir.MakeSparseFile("tree/HUGE.BIN", kHugeFile);
  ProcessRun run;
  run.err_on_terminal = true;
  run.interrupt_when = [](const ProcessResult& so_far) {
    return so_far.err.find("HUGE.BIN") != std::string::npos;
  };
  run.second_signal = SIGTERM;
  const ProcessResult result = RunCheckBinary({"--no-history", dir.Path("tree")}, run);
  EXPECT_EQ(result.status, 128 + SIGTERM);
  EXPECT_NE(
      result.err.find("\x1b[Ktarvik-check: stopped by a second signal: the check is incomplete"),
      std::string::npos)
      << result.err;
}

TEST(OutputTest, StandardOutputNobodyReadsEndsTheRunAtOnce) {
  TempDir dir;
  // A problem line first, then far more to read than the test waits for.
  dir.MakeSparseFile("tree/HUGE.BIN", kHugeFile);
  dir.MakeSymlink("tree/0DANGLING", "/nonexistent");
  ProcessRun unread;
  unread.out_unread = true;
  // Killed by SIGPIPE, as a shell expects of a program whose reader went away.
  EXPECT_EQ(RunCheckBinary({dir.Path("tree")}, unread).status, 128 + SIGPIPE);
}

}  // namespace
}  // namespace tarvik
