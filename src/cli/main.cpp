#include <cstdio>
#include <string>

#include "app/Version.h"
#include "cli/CheckRun.h"
#include "cli/CommandLine.h"
#include "cli/Console.h"
#include "cli/LocaleText.h"

namespace {

int UsageError(const tarvik::LocaleText& locale, const std::string& error) {
  std::fprintf(stderr, "tarvik-check: %s\nTry 'tarvik-check --help' for more information.\n",
               locale.FromUtf8(tarvik::VisibleText(error)).c_str());
  return tarvik::kExitUsage;
}

}  // namespace

int main(int argc, char* argv[]) {
  using namespace tarvik;
  const LocaleText locale;
  CommandLine command_line = ParseCommandLine(argc, argv);
  switch (command_line.action) {
    case CommandLineAction::kHelp:
      std::fputs(UsageText().c_str(), stdout);
      return kExitNoProblem;
    case CommandLineAction::kVersion:
      std::printf("tarvik-check %s (%s)\n", kVersion, kReleaseDate);
      return kExitNoProblem;
    case CommandLineAction::kUsageError:
      return UsageError(locale, command_line.error);
    case CommandLineAction::kCheck:
      break;
  }
  if (std::string error; !OptionsFromLocale(locale, command_line.options, error)) {
    return UsageError(locale, error);
  }
  Console console(stdout, stderr, command_line.options.quiet, locale);
  return RunCheck(command_line.options, console);
}
