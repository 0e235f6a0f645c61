// Errors that end the command before anything is checked: the error's text and status 3, or
// status 2 for an output file that cannot be made.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "CheckProcess.h"
#include "support/ScopedMount.h"
#include "support/TempDir.h"

namespace tarvik {
namespace {

struct ErrorCase {
  const char* name;
  // Makes the place, mounting a file system there if need be; false when this machine cannot.
  std::function<bool(TempDir&, std::unique_ptr<ScopedMount>&)> arrange;
  std::string path;  // relative to the temporary directory
  // Before the path; "{dir}" stands for the temporary directory.
  std::vector<std::string> options;
  // The text after "tarvik-check: "; "{}" stands for the path as given, "{dir}" as above.
  std::string error;
  int status;
  int open_files = 0;  // the program's limit on open descriptors; 0 for the usual one
  // The history lives in "{dir}/data/tarvik" instead of a folder of its own.
  bool history_in_dir = false;
};

// `text` with every `{dir}` replaced by `dir`.
std::string In(const std::string& dir, std::string text) {
  for (std::size_t at = text.find("{dir}"); at != std::string::npos; at = text.find("{dir}", at)) {
    text.replace(at, 5, dir);
  }
  return text;
}

bool Nothing(TempDir&, std::unique_ptr<ScopedMount>&) { return true; }

bool Kept(TempDir& d, std::unique_ptr<ScopedMount>&) {
  d.MakeFile("list.txt", "kept");
  return true;
}

bool ReadOnlyKept(TempDir& d, std::unique_ptr<ScopedMount>&) {
  d.MakeFile("list.txt", "kept");
  d.Chmod("list.txt", 0444);
  return true;
}

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

TEST(CommandErrorTest, EndsWithTheErrorsTextAndItsStatus) {
  const ErrorCase cases[] = {
      {"read-only list file",
       ReadOnlyKept,
       "tree",
       {"--list", "{dir}/list.txt"},
       "list file '{dir}/list.txt': access denied",
       2},
      {"list file on a read-only file system",
       [](TempDir& d, std::unique_ptr<ScopedMount>& mount) {
         mount = std::make_unique<ScopedMount>(d.MakeDir("ro"));
         return mount->mounted() && mount->MakeReadOnly();
       },
       "tree",
       {"--list", "{dir}/ro/list.txt"},
       "list file '{dir}/ro/list.txt': access denied",
       2},
      {"list file in a missing directory",
       Nothing,
       "tree",
       {"--list", "{dir}/missing/list.txt"},
       "list file '{dir}/missing/list.txt': folder '{dir}/missing' does not exist",
       2},
      {"empty list file name", Nothing, "tree", {"-l", ""}, "list file '': no file name given", 2},
      {"read-only report, also for root",
       ReadOnlyKept,
       "tree",
       {"--report={dir}/list.txt"},
       "report '{dir}/list.txt': access denied",
       2},
      {"report that is a FIFO",
       [](TempDir& d, auto&) { return mkfifo(d.Path("fifo").c_str(), 0644) == 0; },
       "tree",
       {"--report={dir}/fifo"},
       "report '{dir}/fifo': access denied",
       2},
      {"report in a missing directory",
       Nothing,
       "tree",
       {"--report={dir}/missing/r.csv"},
       "report '{dir}/missing/r.csv': folder '{dir}/missing' does not exist",
       2},
      {"read-only checksum file",
       ReadOnlyKept,
       "tree",
       {"--sums={dir}/list.txt"},
       "checksum file '{dir}/list.txt': access denied",
       2},
      {"report and checksum file one file",
       Nothing,
       "tree",
       {"--report={dir}/s", "--sums={dir}/s"},
       "the report and the checksum file are the same file '{dir}/s'",
       2},
      {"checksum file named as a folder",
       Nothing,
       "tree",
       {"--sums={dir}/list.txt/"},
       "checksum file '{dir}/list.txt/': names a folder, not a file",
       2},
      {"checksum file to verify against that is missing",
       Nothing,
       "tree",
       {"--verify={dir}/missing.md5"},
       "checksum file '{dir}/missing.md5': no such file",
       2},
      {"list file and report one file",
       Nothing,
       "tree",
       {"-l", "{dir}/s", "--report={dir}/./s"},
       "the list file and the report are the same file '{dir}/./s'",
       2},
      {"list file and report one file through a hard link",
       [](TempDir& d, auto& mount) {
         return Kept(d, mount) && link(d.Path("list.txt").c_str(), d.Path("rh").c_str()) == 0;
       },
       "tree",
       {"-l", "{dir}/list.txt", "--report={dir}/rh"},
       "the list file and the report are the same file '{dir}/rh'",
       2},
      {"checksum file that is the one to verify against",
       Kept,
       "tree",
       {"--verify={dir}/list.txt", "--sums={dir}/list.txt"},
       "checksum file '{dir}/list.txt': the same file as the checksum file verified against, "
       "which it would overwrite",
       2},
      {"report that is, through a link, the checksum file of the directory checked",
       [](TempDir& d, auto& mount) {
         d.MakeSymlink("tree/SHA256SUMS", "../list.txt");
         return Kept(d, mount);
       },
       "tree",
       {"--report={dir}/list.txt"},
       "report '{dir}/list.txt': the same file as the checksum file verified against, which it "
       "would overwrite",
       2},
      {"checksum file kept when the directory is missing",
       Kept,
       "missing",
       {"--sums={dir}/list.txt"},
       "'{}': no such folder",
       3},
      {"report kept when the checksum file to verify against is missing",
       Kept,
       "tree",
       {"--report={dir}/list.txt", "--verify={dir}/missing.md5"},
       "checksum file '{dir}/missing.md5': no such file",
       2},
      {"report kept when the checksum file cannot be made",
       Kept,
       "tree",
       {"--report={dir}/list.txt", "--sums={dir}/missing/s"},
       "checksum file '{dir}/missing/s': folder '{dir}/missing' does not exist",
       2},
      {"no checksum file made when the list file's header finds its disk full",
       [](TempDir& d, std::unique_ptr<ScopedMount>& mount) {
         mount = std::make_unique<ScopedMount>(d.MakeDir("full"), "8k");
         d.MakeFile("full/l");
         return mount->mounted() && !d.MakeFileOfSize("full/filler", 8192).empty();
       },
       "tree",
       {"-l", "{dir}/full/l", "--sums={dir}/list.txt"},
       "list file '{dir}/full/l': the disk is full",
       2},
      {"list file that is the history",
       [](TempDir& d, auto&) { return !d.MakeFile("data/tarvik/history.sqlite3").empty(); },
       "tree",
       {"-l", "{dir}/data/tarvik/history.sqlite3"},
       "list file '{dir}/data/tarvik/history.sqlite3': the same file as the history "
       "'{dir}/data/tarvik/history.sqlite3', which it would overwrite",
       2,
       0,
       true},
      {"missing directory to check", Nothing, "missing", {}, "'{}': no such folder", 3},
      {"control characters typed are shown, not sent to the terminal",
       Nothing,
       "miss\x1b[2J\xC2\x9Bing",
       {},
       "'{dir}/miss\uF01B[2J\uF0C2\uF09Bing': no such folder",
       3},
      {"a file to check instead of a directory",
       Nothing,
       "tree/A.BIN",
       {},
       "'{}': a file, not a folder",
       3},
      {"a drive that does not exist", Nothing, "Q:\\", {}, "'Q:\\': drive Q: does not exist", 3},
      {"a name with a character that names cannot hold",
       Nothing,
       "C:\\x:y",
       {},
       "'C:\\x:y': a name in it holds a character that names cannot hold (\\ : * ? \" < > |)",
       3},
      {"too few descriptors to open its files",
       SettledWithoutSanitizers,
       "tree",
       {},
       "Too many open files.",
       3,
       4},
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
    // A path in drive form, or none, is given as it stands.
    const bool as_given = c.path.empty() || c.path[1] == ':';
    const std::string path = as_given ? c.path : dir.Path(c.path);
    std::vector<std::string> args;
    for (const std::string& option : c.options) args.push_back(In(dir.path(), option));
    args.push_back(path);
    ProcessRun run;
    if (c.open_files > 0) run.limits = {{RLIMIT_NOFILE, static_cast<rlim_t>(c.open_files)}};
    if (c.history_in_dir) run.environment = {"XDG_DATA_HOME=" + dir.Path("data")};
    const ProcessResult result = RunCheckBinary(args, run);

    EXPECT_EQ(result.status, c.status) << c.name;
    std::string error = In(dir.path(), c.error);
    if (const std::size_t at = error.find("{}"); at != std::string::npos)
      error.replace(at, 2, path);
    EXPECT_EQ(Lines(result.err), std::vector<std::string>{"tarvik-check: " + error}) << c.name;
    EXPECT_EQ(result.out, "") << c.name;
    // Kept as it was, or still not there.
    if (std::filesystem::exists(dir.Path("list.txt"))) {
      EXPECT_EQ(dir.ReadFile("list.txt"), "kept") << c.name;
    }
  }
}

// The check goes on, as a list is no reason to stop reading; the end says what is missing.
TEST(CommandErrorTest, OutputFileThatFillsItsDiskEndsWithStatusFour) {
  for (const std::string what : {"list file", "report", "checksum file"}) {
    TempDir dir;
    // Lines of some 100 bytes: far more than a tmpfs of two pages holds.
    for (int i = 0; i < 100; ++i) dir.MakeFile("tree/" + std::string(90, 'n') + std::to_string(i));
    ScopedMount small(dir.MakeDir("small"), "8k");
    if (!small.mounted()) GTEST_SKIP() << "needs mount privileges";
    const std::string output = dir.Path("small/out");
    const std::string option = what == "report"      ? "--report="
                               : what == "list file" ? "--list="
                                                     : "--sums=";
    const ProcessResult result = RunCheckBinary({option + output, dir.Path("tree")});
    EXPECT_EQ(result.status, 4) << what;
    EXPECT_EQ(result.err,
              "tarvik-check: " + what + " '" + output + "' is incomplete: the disk is full\n");
    EXPECT_TRUE(result.out.starts_with("Всего считано : Файлов  = 100,")) << result.out;
    EXPECT_TRUE(result.out.ends_with("\nOk\n")) << result.out;
  }
}

}  // namespace
}  // namespace tarvik
