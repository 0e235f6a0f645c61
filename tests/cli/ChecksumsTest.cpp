// Fingerprints written as sha256sum writes them, and files verified against checksum files.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "CheckProcess.h"
#include "support/TempDir.h"

namespace tarvik {
namespace {

TEST(ChecksumsTest, Sha256sumAcceptsTheSumsFileInTheDirectoryChecked) {
  TempDir dir;
  const std::vector<std::string> names = {"Файл.txt",  "with space.bin",   "back\\slash",
                                          "new\nline", "SUB/deep\\er.txt", "EMPTY",
                                          "3 BLOCKS",  "70 BLOCKS"};
  // Files of several blocks of the default 16 KiB, the last one short: 3 blocks are hashed by
  // the reader as they come; 70 (over a mebibyte) partly on the hashing thread and partly by the
  // reader, and they fill every buffer twice.
  const auto content = [](const std::string& name) {
    if (name == "EMPTY") return std::string();
    std::string text = name;
    if (!name.ends_with(" BLOCKS")) return text;
    const std::size_t size = std::stoul(name) * 16384 - 100;
    for (int i = 0; text.size() < size; ++i) text += std::to_string(i);
    return text;
  };
  for (const std::string& name : names) dir.MakeFile("tree/" + name, content(name));
  // Inside the tree, and left out of the check.
  const ProcessResult cli =
      RunCheckBinary({"-r", "-q", "--sums=" + dir.Path("tree/SUMS"), dir.Path("tree")});
  EXPECT_EQ(cli.status, 0) << cli.err;

  const std::vector<std::string> lines = Lines(dir.ReadFile("tree/SUMS"));
  ASSERT_EQ(lines.size(), names.size());
  // The walk's order: the subdirectory first.
  EXPECT_TRUE(lines.front().starts_with("\\")) << lines.front();
  EXPECT_TRUE(lines.front().ends_with("  SUB/deep\\\\er.txt")) << lines.front();
  const std::string check = "cd '" + dir.Path("tree") + "' && sha256sum --strict --quiet -c SUMS";
  EXPECT_EQ(std::system(check.c_str()), 0);
}

TEST(ChecksumsTest, VerifiesAgainstTheFileGivenOrTheDirectorysOwn) {
  struct Case {
    const char* name;
    std::vector<std::string> options;
    int status;
    std::vector<std::string> out;  // the problem lines' files, below "tree/"
    std::vector<std::string> err;
  };
  const Case cases[] = {
      {"given, names relative to its folder", {"--verify={dir}/sums.md5"}, 1, {"B.TXT"}, {}},
      {"the directory's own, that names nothing",
       {},
       0,
       {},
       {"tarvik-check: verifying against SHA256SUMS in the directory checked",
        "tarvik-check: checksum file 'SHA256SUMS': 1 line(s) not understood, the first is line 1"}},
      {"the directory's own, turned off", {"--no-verify"}, 0, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    dir.MakeFile("tree/A.TXT", "abc");
    dir.MakeFile("tree/B.TXT", "abd");
    dir.MakeFile("tree/C\\D.TXT", "abc");
    dir.MakeFile("tree/SHA256SUMS", "not a line of digests\n");
    dir.MakeFile("sums.md5",
                 "\\900150983cd24fb0d6963f7d28e17f72  tree/A.TXT\n"
                 "900150983cd24fb0d6963f7d28e17f72 *tree/B.TXT\n"
                 "\\900150983cd24fb0d6963f7d28e17f72  tree/C\\\\D.TXT\n");
    std::vector<std::string> args = {"-q", "--report=" + dir.Path("r.csv")};
    for (const std::string& option : c.options) {
      args.push_back(option.starts_with("--verify=") ? "--verify=" + dir.Path("sums.md5") : option);
    }
    args.push_back(dir.Path("tree"));
    const ProcessResult cli = RunCheckBinary(args);

    EXPECT_EQ(cli.status, c.status) << cli.err;
    std::vector<std::string> out;
    for (const std::string& file : c.out) {
      out.push_back("Файл : \"" + DrivePath(dir.Path("tree/" + file)) +
                    "\" - содержимое не совпадает с контрольной суммой !");
    }
    EXPECT_EQ(Lines(cli.out), out);
    EXPECT_EQ(Lines(cli.err), c.err);
    const bool checksum_row = dir.ReadFile("r.csv").find(",checksum,") != std::string::npos;
    EXPECT_EQ(checksum_row, !c.out.empty());
  }
}

}  // namespace
}  // namespace tarvik
