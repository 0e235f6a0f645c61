// Options the GNU way, usage errors with status 2, and the help that the README repeats.

#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "CheckProcess.h"
#include "app/Version.h"
#include "support/TempDir.h"

namespace tarvik {
namespace {

constexpr char kTryHelp[] = "Try 'tarvik-check --help' for more information.";

struct UsageCase {
  std::vector<std::string> args;
  std::string error;  // the first line on standard error
};

std::string MaskError(const std::string& pattern) {
  return "tarvik-check: mask '" + pattern +
         "': a mask names files, not paths; '\\', '/' and ':' are not allowed";
}

TEST(CommandLineTest, UsageErrorsEndWithStatusTwoBeforeAnythingIsRead) {
  TempDir dir;
  const std::string& path = dir.path();
  const UsageCase cases[] = {
      {{}, "tarvik-check: no PATH to check"},
      {{"-q"}, "tarvik-check: no PATH to check"},
      {{""}, "tarvik-check: PATH is empty"},
      {{path, path}, "tarvik-check: only one PATH, not also '" + path + "'"},
      {{"-b", "1000", path},
       "tarvik-check: invalid block size '1000'; use one of 2048, 4096, 8192, 16384, 32768"},
      {{"--block=16k", path},
       "tarvik-check: invalid block size '16k'; use one of 2048, 4096, 8192, 16384, 32768"},
      {{"-b", "", path},
       "tarvik-check: invalid block size ''; use one of 2048, 4096, 8192, 16384, 32768"},
      {{"-b", "\x1b[2J", path},
       "tarvik-check: invalid block size '\uF01B[2J'; use one of 2048, 4096, 8192, 16384, 32768"},
      {{path, "-b"}, "tarvik-check: option '-b' needs a value"},
      {{path, "--list"}, "tarvik-check: option '--list' needs a value"},
      {{"-x", path}, "tarvik-check: unknown option '-x'"},
      {{"-rx", path}, "tarvik-check: unknown option '-x'"},
      {{"--recursive", path}, "tarvik-check: unknown option '--recursive'"},
      {{"--history=foo", path}, "tarvik-check: option '--history' takes no value"},
      {{"--ver=X", path},
       "tarvik-check: option '--ver' is ambiguous; it may be '--verify', '--version'"},
      {{"-a", "normal,executable", path},
       "tarvik-check: unknown attribute 'executable'; the attributes are readonly, hidden, "
       "system, archive and normal"},
      {{"--connect", "Z:", path},
       "tarvik-check: invalid connection 'Z:'; write it as LETTER:=\\\\COMPUTER\\SHARE"},
      {{"--connect==\\\\SRV\\DOCS", path},
       "tarvik-check: invalid connection '=\\\\SRV\\DOCS'; write it as "
       "LETTER:=\\\\COMPUTER\\SHARE"},
      {{"--conn", "Z:=", path},
       "tarvik-check: invalid connection 'Z:='; write it as LETTER:=\\\\COMPUTER\\SHARE"},
      {{"--connect=ZZ=\\\\SRV\\DOCS", path},
       "tarvik-check: invalid connection 'ZZ=\\\\SRV\\DOCS'; write it as "
       "LETTER:=\\\\COMPUTER\\SHARE"},
      {{"--connect=Z:=nothing", path},
       "tarvik-check: invalid connection 'Z:=nothing'; write it as LETTER:=\\\\COMPUTER\\SHARE"},
      {{"--connect=Z:=\\\\SRV", path},
       "tarvik-check: invalid connection 'Z:=\\\\SRV'; write it as LETTER:=\\\\COMPUTER\\SHARE"},
      {{path, "--report"}, "tarvik-check: option '--report' needs a value"},
      {{"-m", "../../../../etc/*", path}, MaskError("../../../../etc/*")},
      {{"--mask=*.txt;sub\\*", path}, MaskError("sub\\*")},
      {{"-m", "/etc/passwd", path}, MaskError("/etc/passwd")},
      {{"-m", "C:*.*", path}, MaskError("C:*.*")},
      {{"--verify=x", "--no-verify", path},
       "tarvik-check: options '--verify' and '--no-verify' contradict each other"},
      {{"--history", "--forget-history", path},
       "tarvik-check: options '--history' and '--forget-history' contradict each other"},
      {{"--history", "--no-history", path},
       "tarvik-check: options '--no-history' and '--history' contradict each other"},
      {{"--no-history", "--forget-history", path},
       "tarvik-check: options '--no-history' and '--forget-history' contradict each other"},
      {{"--forget-history", "-l", "list.txt", path},
       "tarvik-check: option '--list' belongs to a check, and '--forget-history' checks nothing"},
      {{"--report=a.csv", "--report=b.csv", path},
       "tarvik-check: option '--report' given twice, as 'a.csv' and as 'b.csv'"},
  };
  for (const UsageCase& c : cases) {
    const ProcessResult result = RunCheckBinary(c.args);
    EXPECT_EQ(result.status, 2) << c.error;
    EXPECT_EQ(Lines(result.err), (std::vector<std::string>{c.error, kTryHelp}));
    EXPECT_EQ(result.out, "") << c.error;
  }
}

// The help text as the README shows it, in the code block that begins with its first line.
std::string ReadmeUsage() {
  std::ifstream file(TARVIK_README);
  std::stringstream readme;
  readme << file.rdbuf();
  const std::string text = readme.str();
  const std::string opening = "```text\nUsage: tarvik-check";
  const std::size_t start = text.find(opening);
  if (start == std::string::npos) return "";
  const std::size_t body = start + opening.find('\n') + 1;
  return text.substr(body, text.find("```", body) - body);
}

TEST(CommandLineTest, HelpAndVersion) {
  const ProcessResult help = RunCheckBinary({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out, ReadmeUsage());
  EXPECT_NE(help.out.find("tarvik-check -r /media/cdrom"), std::string::npos);
  // --help wins over everything else on the line, also over a missing path.
  EXPECT_EQ(RunCheckBinary({"-b", "4096", "--help"}).out, help.out);

  const ProcessResult version = RunCheckBinary({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_TRUE(version.out.starts_with(std::string("tarvik-check ") + kVersion + " ("))
      << version.out;
}

struct PathCase {
  const char* name;
  std::vector<std::string> args;  // "{}" stands for the directory, "{drive}" for its drive form
  std::string working_directory;  // relative to the temporary directory
};

// The same directory named in every way a user may name it, with the options before or after
// it, checks the same files.
TEST(CommandLineTest, EveryFormOfPathAndOptionsChecksTheSameDirectory) {
  TempDir dir;
  dir.MakeFileOfSize("-odd dir/A.BIN", 10);
  dir.MakeSymlink("-odd dir/GONE.BIN", "nothing");
  dir.MakeFile("-odd dir/L.TXT");
  const std::string directory = dir.Path("-odd dir");
  const std::string drive = DrivePath(directory);
  const std::string problem =
      "Файл : \"" + drive + "\\GONE.BIN\" - не удалось открыть файл для чтения(1) !";
  const PathCase cases[] = {
      {"absolute", {"-q", "--", directory}, ""},
      {"trailing slash", {"-q", "--", directory + "/"}, ""},
      {"relative", {"-q", "./-odd dir"}, "."},
      {"relative with dot dot", {"-q", "../-odd dir"}, "-odd dir"},
      {"through a link", {"-q", "--", dir.Path("link")}, ""},
      {"drive form", {"--quiet", drive}, ""},
      {"drive form with a slash", {"-q", drive + "\\"}, ""},
      {"options after the path", {"./-odd dir", "--bl=2048", "-qr"}, "."},
      {"with its report and list file inside",
       {"-q", "--report=" + directory + "/R.CSV", "-l", directory + "/L.TXT", directory},
       ""},
  };
  dir.MakeSymlink("link", "-odd dir");
  for (const PathCase& c : cases) {
    ProcessRun run;
    if (!c.working_directory.empty()) run.working_directory = dir.Path(c.working_directory);
    const ProcessResult result = RunCheckBinary(c.args, run);
    EXPECT_EQ(result.status, 1) << c.name << ": " << result.err;
    EXPECT_EQ(Lines(result.out), std::vector<std::string>{problem}) << c.name;
  }
  // The report and the list file, written as the check goes, are left out of it.
  EXPECT_EQ(Lines(dir.ReadFile("-odd dir/R.CSV")).size(), 1u + 2u);
}

// `text` in the character set `charset`, a character it cannot hold as "?".
std::string InCharset(const std::string& text, const char* charset) {
  const iconv_t cd = iconv_open((std::string(charset) + "//TRANSLIT").c_str(), "UTF-8");
  std::string out(text.size() * 4, '\0');
  char* in = const_cast<char*>(text.data());
  char* next = out.data();
  std::size_t in_left = text.size(), out_left = out.size();
  iconv(cd, &in, &in_left, &next, &out_left);
  iconv_close(cd);
  out.resize(next - out.data());
  return out;
}

// A terminal in a Russian 8-bit locale: a mask typed there matches the names it shows, and
// every line comes back in that set, a character the set cannot hold replaced visibly.
TEST(CommandLineTest, ArgumentsAndOutputInTheLocalesCharacterSet) {
  for (const char* charset : {"CP1251", "KOI8-R"}) {
    TempDir dir;
    const std::string locale = std::string("ru_RU.") + charset;
    const std::string make = "localedef -f " + std::string(charset) + " -i ru_RU '" +
                             dir.Path(locale) + "' >/dev/null 2>&1";
    if (std::system(make.c_str()) != 0) GTEST_SKIP() << "localedef cannot make " << locale;
    dir.MakeFileOfSize("tree/other.bin", 10);
    dir.MakeSymlink("tree/\xe6\x97\xa5Фото.bin", "nothing");
    ProcessRun run;
    run.environment = {"LOCPATH=" + dir.path(), "LC_ALL=" + locale};
    const ProcessResult result =
        RunCheckBinary({"--no-history", "-m", InCharset("*Фото*", charset), dir.Path("tree")}, run);
    EXPECT_EQ(result.status, 1) << charset;
    const std::string problem = "Файл : \"" + DrivePath(dir.Path("tree")) +
                                "\\?Фото.bin\" - не удалось открыть файл для чтения(1) !";
    ASSERT_FALSE(result.out.empty()) << charset << ": " << result.err;
    EXPECT_EQ(Lines(result.out).front(), InCharset(problem, charset)) << charset;
    if (std::string(charset) == "CP1251") {
      // 0x98 is the one byte that code page 1251 leaves undefined.
      const ProcessResult invalid = RunCheckBinary({"-m", "\x98", dir.Path("tree")}, run);
      EXPECT_EQ(invalid.status, 2);
      EXPECT_EQ(Lines(invalid.err).front(),
                "tarvik-check: mask '\x98' is not valid text in the character set CP1251 of the "
                "locale");
    }
  }
}

}  // namespace
}  // namespace tarvik
