// The binary on a file system whose faults come from the kernel, as a damaged disc's do, must
// report what the main window's engine reports for the same tree.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "CheckProcess.h"
#include "WindowCheck.h"
#include "platform/ErrorCodes.h"
#include "platform/posix/PosixPlatform.h"
#include "support/FaultyFs.h"
#include "support/TempDir.h"

namespace tarvik {
namespace {

using Faults = FaultyFs::Faults;

std::string Data(std::size_t size) { return std::string(size, 'd'); }

TEST(FaultyMediumTest, ReportsWhatTheWindowReports) {
  struct Case {
    const char* name;
    std::vector<FaultyFs::Entry> tree;  // the check runs in S
    std::vector<std::string> options;
    std::function<void(TForm1&)> settings;
    int status;
  };
  const Case cases[] = {
      {"EIO on open and in the middle of a file",
       {FaultyFs::File("S/A.BIN", Data(10), Faults().EioOnOpen()),
        FaultyFs::File("S/B.BIN", Data(10000), Faults().EioFrom(4096)),
        FaultyFs::File("S/C.BIN", Data(5000))},
       {"-b", "2048"},
       [](TForm1& f) { f.CBSizeBlock.SetItemIndex(0); },
       1},
      {"walk with bad files in two directories",
       {FaultyFs::File("S/A/BAD.BIN", Data(10), Faults().EioOnOpen()),
        FaultyFs::File("S/A/OK.BIN", "a"),
        FaultyFs::File("S/B/BAD.BIN", Data(40000), Faults().EioFrom(16384)),
        FaultyFs::File("S/OK.BIN", "s")},
       {"-r"},
       [](TForm1& f) { f.CheckBoxMode.SetChecked(true); },
       1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    // Made on this thread before the binary is started, so that the binary, forked from it,
    // shares the mount namespace that holds the file system.
    FaultyFs fs(c.tree);
    const std::string tree = fs.mount_point() + "/S";
    std::vector<std::string> args = c.options;
    args.insert(args.end(), {"--list", dir.Path("cli.txt"), tree});
    const ProcessResult cli = RunCheckBinary(args);
    PosixPlatform platform;
    ASSERT_EQ(platform.SetCurrentDirectory(DrivePath(tree)), kNoError);
    const WindowOutcome window =
        CheckInWindow(platform, DrivePath(dir.Path("window.txt")), c.settings);

    EXPECT_EQ(cli.status, c.status) << cli.err;
    EXPECT_FALSE(window.problems.empty());
    ExpectSameAsWindow(cli, window);
    EXPECT_EQ(ListWithoutDate(dir.ReadFile("cli.txt")),
              ListWithoutDate(dir.ReadFile("window.txt")));
  }
}

// One file of each outcome, the last read slowly until Ctrl+C stops it.
TEST(FaultyMediumTest, ReportHasARowPerFileWithItsFirstOutcome) {
  FaultyFs fs({FaultyFs::File("S/A_OK,1.BIN", Data(5000)),
               // A name that is no UTF-8, as Linux allows.
               FaultyFs::File("S/A_\xE9.BIN", "a"),
               // Gone once the window has opened it to show its size.
               FaultyFs::File("S/B_GONE.BIN", "b", Faults().VanishesAfterOpen()),
               FaultyFs::File("S/B_*.BIN", "ab"), FaultyFs::File("S/B_\uF02A.BIN", Data(300)),
               FaultyFs::File("S/C_OPEN1.BIN", "c", Faults().EioOnOpen()),
               // The shown size opens it, then the measuring open, then the reading open.
               FaultyFs::File("S/D_OPEN2.BIN", "d", Faults().EioFromOpen(3)),
               FaultyFs::File("S/E_READ.BIN", Data(10000), Faults().EioFrom(4096)),
               FaultyFs::File("S/F_SIZE.BIN", Data(3000), Faults().SizeAfterFirstRead(1000)),
               FaultyFs::File("S/G_ABORT.BIN", Data(100000),
                              Faults().ReadDelay(std::chrono::milliseconds(100)))});
  TempDir dir;
  const std::string tree = fs.mount_point() + "/S";
  ProcessRun run;
  run.err_on_terminal = true;  // for the progress line, which names the file being read
  run.interrupt_when = [](const ProcessResult& so_far) {
    return so_far.err.find("G_ABORT.BIN") != std::string::npos;
  };
  const ProcessResult cli = RunCheckBinary(
      {"-b", "2048", "--report=" + dir.Path("r.csv"), "--sums=" + dir.Path("sums"), tree}, run);
  EXPECT_EQ(cli.status, 130) << cli.err;
  // Only the files read without a problem have their fingerprint, each name as on disk.
  const std::vector<std::string> sums = Lines(dir.ReadFile("sums"));
  ASSERT_EQ(sums.size(), 4u);
  // Saved on another volume, the names are absolute.
  EXPECT_EQ(sums[0].substr(64), "  " + tree + "/A_OK,1.BIN");
  EXPECT_EQ(sums[1].substr(64), "  " + tree + "/A_\xE9.BIN");
  EXPECT_EQ(sums[2].substr(64), "  " + tree + "/B_*.BIN");
  EXPECT_EQ(sums[3].substr(64), "  " + tree + "/B_\uF02A.BIN");

  // Path, size and bytes read as they begin the row, "" for bytes that depend on when Ctrl+C
  // came; the outcome ends it.
  const std::vector<std::tuple<std::string, std::string, std::string>> rows = {
      {"\"" + DrivePath(tree) + "\\A_OK,1.BIN\",5000,5000,", "", "ok"},
      {DrivePath(tree) + "\\A_\uF0E9.BIN,1,1,", "", "ok"},
      {DrivePath(tree) + "\\B_GONE.BIN,,0,", "", "not-found"},
      {DrivePath(tree) + "\\B_\uF02A.BIN,2,2,", "", "ok"},
      {DrivePath(tree) + "\\B_\uF0EF\uF080\uF0AA.BIN,300,300,", "", "ok"},
      {DrivePath(tree) + "\\C_OPEN1.BIN,,0,", "", "open1"},
      {DrivePath(tree) + "\\D_OPEN2.BIN,1,0,", "", "open2"},
      {DrivePath(tree) + "\\E_READ.BIN,10000,4096,", "", "read"},
      {DrivePath(tree) + "\\F_SIZE.BIN,3000,1000,", "", "size"},
      {DrivePath(tree) + "\\G_ABORT.BIN,100000,", "[0-9]+,", "abort"},
  };
  const std::string report = dir.ReadFile("r.csv");
  ASSERT_TRUE(report.starts_with(
      "path,size,bytes_read,seconds,mb_per_s,outcome,first_seen,last_mb_per_s\r\n"))
      << report;
  std::size_t at = report.find("\r\n") + 2;
  for (const auto& [start, bytes, outcome] : rows) {
    const std::size_t end = report.find("\r\n", at);
    ASSERT_NE(end, std::string::npos) << start;
    const std::string row = report.substr(at, end - at);
    at = end + 2;
    EXPECT_TRUE(row.starts_with(start)) << row;
    EXPECT_TRUE(std::regex_match(
        row.substr(std::min(start.size(), row.size())),
        std::regex(bytes + "[0-9]+\\.[0-9]{3},([0-9]+\\.[0-9]{3})?," + outcome + ",,")))
        << row;
  }
  EXPECT_EQ(at, report.size()) << report;
}

// Reads on a medium like this one go to a helper thread, so that a hung read holds nobody.
TEST(FaultyMediumTest, AThreadThatCannotStartEndsTheCheckWithItsReason) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer needs more address space than the limit leaves";
#endif
  FaultyFs fs({FaultyFs::File("S/A.BIN", Data(5000))});
  ProcessRun run;
  // Each thread's stack is as large as the stack limit, more than the address space allows.
  run.limits = {{RLIMIT_STACK, rlim_t{1} << 30}, {RLIMIT_AS, rlim_t{768} << 20}};
  const ProcessResult cli = RunCheckBinary({fs.mount_point() + "/S"}, run);
  EXPECT_EQ(cli.status, 3);
  EXPECT_EQ(cli.err, "tarvik-check: Not enough memory to start a thread.\n");
}

}  // namespace
}  // namespace tarvik
