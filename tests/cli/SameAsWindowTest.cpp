// The binary and the main window's engine checking the same tree with the same settings must
// report the same problem lines, totals, verdict and list file.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "CheckProcess.h"
#include "WindowCheck.h"
#include "platform/ErrorCodes.h"
#include "platform/posix/PosixPlatform.h"
#include "support/TempDir.h"

namespace tarvik {
namespace {

struct Case {
  const char* name;
  std::function<void(TempDir&)> make_tree;  // below "tree/"
  std::vector<std::string> options;
  // The same settings made in the window, whose subdirectory box starts clear here.
  std::function<void(TForm1&)> settings;
  int status;
  std::string verdict;
  // What the binary says on standard error before its error boxes.
  std::vector<std::string> notes = {};
  // The problem lines' files, below "tree\", and endings; empty for none looked at.
  std::vector<std::pair<std::string, std::string>> problems = {};
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class SameAsWindowTest : public ::testing::TestWithParam<Case> {
 protected:
  std::string Tree() const { return dir_.Path("tree"); }

  TempDir dir_;
};

TEST_P(SameAsWindowTest, ReportsWhatTheWindowReports) {
  const Case& c = GetParam();
  dir_.MakeDir("tree");
  c.make_tree(dir_);
  std::vector<std::string> args = c.options;
  args.insert(args.end(), {"--list", dir_.Path("cli.txt"), Tree()});
  const ProcessResult cli = RunCheckBinary(args);
  PosixPlatform platform;
  ASSERT_EQ(platform.SetCurrentDirectory(DrivePath(Tree())), kNoError);
  const WindowOutcome window =
      CheckInWindow(platform, DrivePath(dir_.Path("window.txt")), c.settings);

  EXPECT_EQ(cli.status, c.status) << cli.err;
  ProcessResult cli_boxes = cli;
  const std::vector<std::string> err = Lines(cli.err);
  ASSERT_GE(err.size(), c.notes.size()) << cli.err;
  EXPECT_EQ(std::vector(err.begin(), err.begin() + c.notes.size()), c.notes);
  cli_boxes.err = cli.err.substr(
      c.notes.empty() ? 0 : cli.err.find(c.notes.back()) + c.notes.back().size() + 1);
  ExpectSameAsWindow(cli_boxes, window);
  if (!c.problems.empty()) {
    std::vector<std::string> expected;
    for (const auto& [file, ending] : c.problems) {
      expected.push_back("Файл : \"" + DrivePath(Tree()) + "\\" + file + "\" - " + ending + " !");
    }
    EXPECT_EQ(window.problems, expected);
  }
  EXPECT_EQ(window.verdict, c.verdict);
  EXPECT_EQ(ListWithoutDate(dir_.ReadFile("cli.txt")),
            ListWithoutDate(dir_.ReadFile("window.txt")));
}

void NoSettings(TForm1&) {}

const std::string kSha256OfAbc = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
constexpr char kMismatch[] = "содержимое не совпадает с контрольной суммой";

// Files that a real file system gives as faults: a link to nothing cannot be opened, and a
// link to a kernel file reads more bytes than its size says.
void AddFaults(TempDir& dir, const std::string& where) {
  dir.MakeSymlink(where + "/GONE.BIN", "nothing-here");
  dir.MakeSymlink(where + "/KERNEL.TXT", "/proc/version");
}

const Case kCases[] = {
    {"GoodFilesOfOneDirectory",
     [](TempDir& d) {
       d.MakeFileOfSize("tree/A.BIN", 40000);
       d.MakeFile("tree/EMPTY.TXT");
       d.MakeFileOfSize("tree/SUB/NOT_CHECKED.BIN", 10);
     },
     {},
     NoSettings,
     0,
     "Ok"},
    {"ProblemsOfOneDirectory",
     [](TempDir& d) {
       d.MakeFileOfSize("tree/A.BIN", 100);
       AddFaults(d, "tree");
     },
     {},
     NoSettings,
     1,
     "Были ошибки !!!"},
    {"WalkWithProblemsBelow",
     [](TempDir& d) {
       d.MakeFileOfSize("tree/TOP.BIN", 5);
       d.MakeFileOfSize("tree/A/A1/ONE.BIN", 70000);
       AddFaults(d, "tree/A/A2");
       d.MakeFileOfSize("tree/B/TWO.BIN", 3);
       d.MakeFileOfSize("tree/.HIDDEN/NOT_WALKED.BIN", 3);
     },
     {"-r"},
     [](TForm1& f) { f.CheckBoxMode.SetChecked(true); },
     1,
     "Были ошибки !!!"},
    {"WalkWithoutProblems",
     [](TempDir& d) {
       d.MakeFileOfSize("tree/A/ONE.BIN", 3);
       d.MakeFileOfSize("tree/B/C/TWO.BIN", 3);
     },
     {"--subdirs"},
     [](TForm1& f) { f.CheckBoxMode.SetChecked(true); },
     0,
     "Ok"},
    {"MaskAndAttributes",
     [](TempDir& d) {
       d.MakeFileOfSize("tree/A.BIN", 10);
       d.MakeFileOfSize("tree/B.TXT", 10);
       d.MakeFileOfSize("tree/.HIDDEN.BIN", 10);
       d.MakeFileOfSize("tree/LOCKED.BIN", 10);
       d.Chmod("tree/LOCKED.BIN", 0444);
       AddFaults(d, "tree");
     },
     {"-m", "*.BIN", "-a", "normal,Hidden"},
     [](TForm1& f) {
       f.EditMask.SetText("*.BIN");
       f.CheckBox1.SetChecked(false);
       f.CheckBox3.SetChecked(false);
       f.CheckBox4.SetChecked(false);
     },
     1,
     "Были ошибки !!!"},
    {"SmallestBlocksOverWholeBlocks",
     [](TempDir& d) {
       d.MakeFileOfSize("tree/FOUR.BIN", 4 * 2048);
       d.MakeFileOfSize("tree/MORE.BIN", 2049);
     },
     {"-b2048"},
     [](TForm1& f) { f.CBSizeBlock.SetItemIndex(0); },
     0,
     "Ok"},
    {"VerifiesAgainstItsOwnChecksumFile",
     [](TempDir& d) {
       d.MakeFile("tree/A.TXT", "abc");
       d.MakeFile("tree/SUB/B.TXT", "abd");
       d.MakeFile("tree/EXTRA.TXT", "not named");
       d.MakeFile("tree/SHA256SUMS", kSha256OfAbc + "  ./A.TXT\n" + kSha256OfAbc + " *SUB/B.TXT\n" +
                                         kSha256OfAbc +
                                         "  GONE.TXT\r\nno digest here\n# a comment\n\n" +
                                         kSha256OfAbc + "  SUB/GONE.TXT\n");
     },
     {"-r"},
     [](TForm1& f) { f.CheckBoxMode.SetChecked(true); },
     1,
     "Были ошибки !!!",
     {"tarvik-check: verifying against SHA256SUMS in the directory checked",
      "tarvik-check: checksum file 'SHA256SUMS': 1 line(s) not understood, the first is line 4"},
     {{"SUB\\B.TXT", kMismatch}, {"GONE.TXT", "не найден"}, {"SUB\\GONE.TXT", "не найден"}}},
    {"Md5AndBsdTags",
     [](TempDir& d) {
       d.MakeFile("tree/A.TXT", "abc");
       d.MakeFile("tree/B.TXT", "abc");
       d.MakeFile("tree/C.TXT", "abd");
       d.MakeFile("tree/D.TXT", "abc");
       d.MakeFile("tree/md5sum.txt",
                  "900150983cd24fb0d6963f7d28e17f72  A.TXT\n"
                  "SHA1 (B.TXT) = a9993e364706816aba3e25717850c26c9cd0d89d\n"
                  "MD5 (C.TXT) = 900150983cd24fb0d6963f7d28e17f72\n"
                  "SHA256 (D.TXT) = " +
                      kSha256OfAbc + "\n");
     },
     {},
     NoSettings,
     1,
     "Были ошибки !!!",
     {"tarvik-check: verifying against md5sum.txt in the directory checked"},
     {{"C.TXT", kMismatch}}},
    {"NothingToCheck",
     [](TempDir& d) { d.MakeDir("tree/ONLY_A_DIRECTORY"); },
     {},
     NoSettings,
     0,
     "Список файлов ПУСТ !!!"},
};

INSTANTIATE_TEST_SUITE_P(Trees, SameAsWindowTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarvik
