// Errors that end the command before anything is checked: the error's text and status 3, or
// status 2 for an output file that cannot be made.

#include <gtest/gtest.h>
#include <sys/stat.h>

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
  // The text after "tarvik-check: "; "{}", "{list}" and "{report}" stand for the paths given.
  std::string error;
  std::string report;  // relative to the temporary directory; empty for no report
  int status = 3;
  std::vector<std::string> options;  // given as they stand
};

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at))
    text.replace(at, from.size(), to), at += to.size();
}

bool Nothing(TempDir&, std::unique_ptr<ScopedMount>&) { return true; }

bool ReadOnlyKept(TempDir& d, std::unique_ptr<ScopedMount>&) {
  d.MakeFile("list.txt", "kept");
  d.Chmod("list.txt", 0444);
  return true;
}

TEST(CommandErrorTest, EndsWithTheErrorsTextAndItsStatus) {
  const ErrorCase cases[] = {
      {"read-only list file", ReadOnlyKept, "tree", "list.txt",
       "list file '{list}': File access denied.", "", 2, {}},
      {"list file on a read-only file system",
       [](TempDir& d, std::unique_ptr<ScopedMount>& mount) {
         mount = std::make_unique<ScopedMount>(d.MakeDir("ro"));
         return mount->mounted() && mount->MakeReadOnly();
       },
       "tree", "ro/list.txt", "list file '{list}': File access denied.", "", 2, {}},
      {"list file in a missing directory", Nothing, "tree", "missing/list.txt",
       "list file '{list}': Invalid filename.", "", 2, {}},
      {"read-only report, also for root", ReadOnlyKept, "tree", "",
       "report '{report}': File access denied.", "list.txt", 2, {}},
      {"report that is a FIFO",
       [](TempDir& d, auto&) { return mkfifo(d.Path("fifo").c_str(), 0644) == 0; }, "tree", "",
       "report '{report}': File access denied.", "fifo", 2, {}},
      {"report in a missing directory", Nothing, "tree", "",
       "report '{report}': Invalid filename.", "missing/r.csv", 2, {}},
      {"list file and report one file", Nothing, "tree", "same.txt",
       "the list file and the report are the same file '{report}'", "./same.txt", 2, {}},
      {"empty list file name", Nothing, "tree", "", "list file '': Invalid filename.", "", 2,
       {"-l", ""}},
      {"missing directory to check", Nothing, "missing", "", "{}: File not found.", "", 3, {}},
      {"a file to check instead of a directory", Nothing, "tree/A.BIN", "",
       "{}: Invalid filename.", "", 3, {}},
  };
  for (const ErrorCase& c : cases) {
    TempDir dir;
    std::unique_ptr<ScopedMount> mount;
    dir.MakeFileOfSize("tree/A.BIN", 10);
    if (!c.arrange(dir, mount)) {
      std::cout << "skipped (needs mount privileges): " << c.name << "\n";
      continue;
    }
    const std::string path = dir.Path(c.path);
    std::vector<std::string> args = c.options;
    args.push_back(path);
    if (!c.list.empty()) args.insert(args.begin(), {"--list", dir.Path(c.list)});
    if (!c.report.empty()) args.insert(args.begin(), "--report=" + dir.Path(c.report));
    const ProcessResult result = RunCheckBinary(args);

    EXPECT_EQ(result.status, c.status) << c.name;
    std::string error = c.error;
    ReplaceAll(error, "{list}", dir.Path(c.list));
    ReplaceAll(error, "{report}", dir.Path(c.report));
    ReplaceAll(error, "{}", path);
    EXPECT_EQ(Lines(result.err), std::vector<std::string>{"tarvik-check: " + error}) << c.name;
    EXPECT_EQ(result.out, "") << c.name;
    if (c.list == "list.txt" || c.report == "list.txt") {
      EXPECT_EQ(dir.ReadFile("list.txt"), "kept") << c.name;
    }
  }
}

// The check goes on, as a list is no reason to stop reading; the end says what is missing.
TEST(CommandErrorTest, OutputFileThatFillsItsDiskEndsWithStatusFour) {
  for (const char* option : {"--list", "--report"}) {
    SCOPED_TRACE(option);
    TempDir dir;
    // Lines of some 100 bytes: far more than a tmpfs of two pages holds.
    const std::string name(90, 'n');
    for (int i = 0; i < 100; ++i) dir.MakeFile("tree/" + name + std::to_string(i), "x");
    ScopedMount small(dir.MakeDir("small"), "8k");
    if (!small.mounted()) GTEST_SKIP() << "needs mount privileges";
    const std::string output = dir.Path("small/out");
    const ProcessResult result = RunCheckBinary({option, output, dir.Path("tree")});

    EXPECT_EQ(result.status, 4);
    const std::string what = std::string(option) == "--list" ? "list file" : "report";
    EXPECT_EQ(Lines(result.err), std::vector<std::string>{"tarvik-check: " + what + " '" +
                                                          output + "' is incomplete: Disk full."});
    EXPECT_EQ(Lines(result.out).back(), "Ok");
    EXPECT_TRUE(result.out.starts_with("Всего считано : Файлов  = 100,")) << result.out;
  }
}

}  // namespace
}  // namespace tarvik
