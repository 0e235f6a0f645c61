// The binary on a file system whose faults come from the kernel, as a damaged disc's do, must
// report what the main window's engine reports for the same tree.

#include <gtest/gtest.h>

#include <functional>
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

}  // namespace
}  // namespace tarvik
