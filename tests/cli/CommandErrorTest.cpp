// Errors that end the command: the error's text and status 3, nothing checked.

#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "CheckProcess.h"
#include "ScopedMount.h"
#include "support/TempDir.h"

namespace tarvik {
namespace {

struct ErrorCase {
  const char* name;
  // Makes the place, mounting a file system there if need be; false when this machine cannot.
  std::function<bool(TempDir&, std::unique_ptr<ScopedMount>&)> arrange;
  std::string path;  // relative to the temporary directory
  std::string list;  // relative to it too; empty for no list
  // The text after "tarvik-check: "; "{}" stands for the path as given.
  std::string error;
  int open_files = 0;  // the program's limit on open descriptors; 0 for the usual one
};

bool Nothing(TempDir&, std::unique_ptr<ScopedMount>&) { return true; }

// The listing of a settled directory is kept, with its descriptor, while its files are opened:
// one descriptor beside the standard three is then too few. The sanitizers' own checks open
// descriptors too (a pipe to test memory), and under such a limit end the program with a false
// report.
bool SettledWithoutSanitizers(TempDir&, std::unique_ptr<ScopedMount>&) {
#ifdef __SANITIZE_ADDRESS__
  return false;
#else
  SettleDirectories();
  return true;
#endif
}

TEST(CommandErrorTest, EndsWithTheErrorsTextAndStatusThree) {
  const ErrorCase cases[] = {
      {"read-only list file",
       [](TempDir& d, auto&) {
         d.MakeFile("list.txt", "kept");
         d.Chmod("list.txt", 0444);
         return true;
       },
       "tree", "list.txt", "File access denied."},
      {"list file on a read-only file system",
       [](TempDir& d, std::unique_ptr<ScopedMount>& mount) {
         mount = std::make_unique<ScopedMount>(d.MakeDir("ro"));
         return mount->mounted() && mount->MakeReadOnly();
       },
       "tree", "ro/list.txt", "File access denied."},
      {"list file in a missing directory", Nothing, "tree", "missing/list.txt",
       "Invalid filename."},
      {"missing directory to check", Nothing, "missing", "", "{}: File not found."},
      {"a file to check instead of a directory", Nothing, "tree/A.BIN", "",
       "{}: Invalid filename."},
      {"too few descriptors to open its files", SettledWithoutSanitizers, "tree", "",
       "Too many open files.", 4},
  };
  for (const ErrorCase& c : cases) {
    TempDir dir;
    std::unique_ptr<ScopedMount> mount;
    dir.MakeFileOfSize("tree/A.BIN", 10);
    if (!c.arrange(dir, mount)) {
      std::cout << "skipped (needs mount privileges, or a build without sanitizers): " << c.name
                << "\n";
      continue;
    }
    const std::string path = dir.Path(c.path);
    std::vector<std::string> args = {path};
    if (!c.list.empty()) args.insert(args.begin(), {"--list", dir.Path(c.list)});
    ProcessRun run;
    run.open_files = c.open_files;
    const ProcessResult result = RunCheckBinary(args, run);

    EXPECT_EQ(result.status, 3) << c.name;
    std::string error = c.error;
    if (error.starts_with("{}")) error.replace(0, 2, path);
    EXPECT_EQ(Lines(result.err), std::vector<std::string>{"tarvik-check: " + error}) << c.name;
    EXPECT_EQ(result.out, "") << c.name;
    if (c.list == "list.txt") {
      EXPECT_EQ(dir.ReadFile("list.txt"), "kept") << c.name;
    }
  }
}

}  // namespace
}  // namespace tarvik
