// Options the GNU way, usage errors with status 2, and the help that the README repeats.

#include <gtest/gtest.h>

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
      {{path, path}, "tarvik-check: only one PATH, not also '" + path + "'"},
      {{"-b", "1000", path},
       "tarvik-check: invalid block size '1000'; use one of 2048, 4096, 8192, 16384, 32768"},
      {{"--block=16k", path},
       "tarvik-check: invalid block size '16k'; use one of 2048, 4096, 8192, 16384, 32768"},
      {{"-b", "", path},
       "tarvik-check: invalid block size ''; use one of 2048, 4096, 8192, 16384, 32768"},
      {{path, "-b"}, "tarvik-check: option '-b' needs a value"},
      {{path, "--list"}, "tarvik-check: option '--list' needs a value"},
      {{"-x", path}, "tarvik-check: unknown option '-x'"},
      {{"-rx", path}, "tarvik-check: unknown option '-x'"},
      {{"--recursive", path}, "tarvik-check: unknown option '--recursive'"},
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
      {"with its report inside", {"-q", "--report=" + directory + "/R.CSV", directory}, ""},
  };
  dir.MakeSymlink("link", "-odd dir");
  for (const PathCase& c : cases) {
    ProcessRun run;
    if (!c.working_directory.empty()) run.working_directory = dir.Path(c.working_directory);
    const ProcessResult result = RunCheckBinary(c.args, run);
    EXPECT_EQ(result.status, 1) << c.name << ": " << result.err;
    EXPECT_EQ(Lines(result.out), std::vector<std::string>{problem}) << c.name;
  }
  // The report, written as the check goes, is left out of it.
  EXPECT_EQ(Lines(dir.ReadFile("-odd dir/R.CSV")).size(), 1u + 2u);
}

}  // namespace
}  // namespace tarvik
