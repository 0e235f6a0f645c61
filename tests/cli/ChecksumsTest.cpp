// Fingerprints written as sha256sum writes them, and files verified against checksum files.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "CheckProcess.h"
#include "support/TempDir.h"

namespace tarvik {
namespace {

const std::string kSums =
    "\\900150983cd24fb0d6963f7d28e17f72  tree/A.TXT\n"
    "900150983cd24fb0d6963f7d28e17f72 *tree/B.TXT\n"
    "\\900150983cd24fb0d6963f7d28e17f72  tree/C\\\\D.TXT\n";

TEST(ChecksumsTest, Sha256sumAcceptsTheSumsFileInTheDirectoryChecked) {
  TempDir dir;
  const std::vector<std::string> names = {
      "Файл.txt", "with space.bin", "back\\slash", "new\nline", "car\rriage",  "SUB/deep\\er.txt",
      "EMPTY",    "3 BLOCKS",       "70 BLOCKS",   "-",         "ends in CR\r"};
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

  // Saved beside the tree, the names reach the files from there.
  dir.MakeFile("side/x", "");
  const ProcessResult side =
      RunCheckBinary({"-r", "-q", "--sums=" + dir.Path("side/SUMS"), dir.Path("tree/SUB")});
  EXPECT_EQ(side.status, 0) << side.err;
  EXPECT_TRUE(dir.ReadFile("side/SUMS").ends_with("  ../tree/SUB/deep\\\\er.txt\n"));
  const std::string side_check = "cd '" + dir.Path("side") + "' && sha256sum --quiet -c SUMS";
  EXPECT_EQ(std::system(side_check.c_str()), 0);
}

TEST(ChecksumsTest, VerifiesAgainstTheFileGivenOrTheDirectorysOwn) {
  struct Case {
    const char* name;
    std::vector<std::string> options;
    int status;
    std::vector<std::string> out;  // the problem lines' files below "tree/", "|" before a suffix
    std::vector<std::string> err;
    std::string sums = kSums;  // the text of sums.md5
    std::string own_md5 = "";  // the text of tree/MD5SUMS, none when empty
  };
  const std::string a_sha256 = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
  const std::string kNotChecked =
      "| - назван в файле контрольных сумм, но проверка его не читала, не проверен !";
  const Case cases[] = {
      {"given, names relative to its folder", {"--verify={dir}/sums.md5"}, 1, {"B.TXT"}, {}},
      {"the directory's own, that names nothing",
       {},
       1,
       {"SHA256SUMS| - в файле контрольных сумм нет ни одной строки контрольной суммы, сверки не "
        "было !"},
       {"tarvik-check: checksum file 'SHA256SUMS' in the directory checked: no properly "
        "formatted checksum lines found"}},
      {"the directory's own, turned off", {"--no-verify"}, 0, {}, {}},
      {"a right MD5 line and a wrong SHA-256 line",
       {"--verify="},
       1,
       {"A.TXT"},
       {},
       "900150983cd24fb0d6963f7d28e17f72  tree/A.TXT\n" + std::string(64, '0') + "  tree/A.TXT\n"},
      {"names from elsewhere, each once",
       {"--verify="},
       1,
       {"../OUT.TXT" + kNotChecked},
       {},
       a_sha256 + "  tree/../OUT.TXT\n" + a_sha256 + "  {dir}/OUT.TXT\n" + a_sha256 +
           "  tree/../tree/A.TXT\n"},
      {"named, present, left out by the mask",
       {"-m", "A.TXT", "--verify="},
       1,
       {"B.TXT" + kNotChecked},
       {},
       a_sha256 + "  tree/A.TXT\n" + a_sha256 + "  tree/B.TXT\n"},
      {"names that reach no file: the folder before '..' a file, a trailing '/'",
       {"--verify="},
       1,
       {"B.TXT/../A.TXT| - не найден !", "A.TXT/| - не найден !"},
       {},
       a_sha256 + "  tree/B.TXT/../A.TXT\n" + a_sha256 + "  tree/A.TXT/\n"},
      {"a line too long to name a file",
       {"--verify="},
       1,
       {"../sums.md5| - строк длиннее 64 КиБ: 1 (первая: 2), имя в такой строке не называет "
        "файл, не проверены !"},
       {},
       a_sha256 + "  tree/A.TXT\n" + std::string(70000, 'x') + "\n"},
      {"not a regular file",
       {"--verify=/dev/zero"},
       2,
       {},
       {"tarvik-check: checksum file "
        "'/dev/zero': not a regular file"}},
      {"every one of the directory's own, each line of each",
       {},
       1,
       {"SHA256SUMS| - в файле контрольных сумм нет ни одной строки контрольной суммы, сверки не "
        "было !",
        "A.TXT"},
       {"tarvik-check: checksum file 'SHA256SUMS' in the directory checked: no properly "
        "formatted checksum lines found",
        "tarvik-check: verifying against MD5SUMS in the directory checked"},
       kSums,
       std::string(32, '0') + "  A.TXT\n"},
      {"files in folders whose names begin with a full stop",
       {"-r", "--verify="},
       1,
       {".hidden/E.TXT"},
       {},
       "900150983cd24fb0d6963f7d28e17f72  tree/.hidden/E.TXT\n"
       "900150983cd24fb0d6963f7d28e17f72  tree/.../F.TXT\n"},
      {"no line names a file",
       {"--verify="},
       2,
       {},
       {"tarvik-check: checksum file '{verify}': no properly formatted checksum lines found"},
       ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    dir.MakeFile("tree/A.TXT", "abc");
    dir.MakeFile("tree/B.TXT", "abd");
    dir.MakeFile("tree/C\\D.TXT", "abc");
    dir.MakeFile("tree/SHA256SUMS", "not a line of digests\n");
    dir.MakeFile("OUT.TXT", "abc");
    dir.MakeFile("tree/.hidden/E.TXT", "abd");
    dir.MakeFile("tree/.../F.TXT", "abc");
    std::string sums = c.sums;
    if (const std::size_t at = sums.find("{dir}"); at != std::string::npos) {
      sums.replace(at, 5, dir.Path(""));
    }
    dir.MakeFile("sums.md5", sums);
    if (!c.own_md5.empty()) dir.MakeFile("tree/MD5SUMS", c.own_md5);
    std::vector<std::string> args = {"-q", "--report=" + dir.Path("r.csv")};
    for (const std::string& option : c.options) {
      const bool relative = option.starts_with("--verify=") && !option.starts_with("--verify=/");
      args.push_back(relative ? "--verify=" + dir.Path("sums.md5") : option);
    }
    args.push_back(dir.Path("tree"));
    const ProcessResult cli = RunCheckBinary(args);

    EXPECT_EQ(cli.status, c.status) << cli.err;
    std::vector<std::string> out;
    for (const std::string& line : c.out) {
      const std::size_t bar = std::min(line.find('|'), line.size());
      const std::string file = line.substr(0, bar);
      out.push_back("Файл : \"" +
                    DrivePath(dir.Path(file.starts_with("../") ? file.substr(3) : "tree/" + file)) +
                    // A name shown as written keeps its trailing separator.
                    (file.ends_with('/') ? "\\\"" : "\"") +
                    (bar < line.size() ? line.substr(bar + 1)
                                       : " - содержимое не совпадает с контрольной суммой !"));
    }
    EXPECT_EQ(Lines(cli.out), out);
    std::vector<std::string> err = c.err;
    for (std::string& line : err) {
      if (const std::size_t at = line.find("{verify}"); at != std::string::npos)
        line.replace(at, 8, dir.Path("sums.md5"));
    }
    EXPECT_EQ(Lines(cli.err), err);
    if (cli.status == 2) continue;
    const bool checksum_row = dir.ReadFile("r.csv").find(",checksum,") != std::string::npos;
    const auto mismatch = [](const std::string& line) { return line.find('|') == line.npos; };
    EXPECT_EQ(checksum_row, std::ranges::any_of(c.out, mismatch));
  }
}

}  // namespace
}  // namespace tarvik
