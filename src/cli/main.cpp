#include <cstdio>
#include <string>

#include "app/Version.h"
#include "cli/Arguments.h"
#include "cli/CheckRun.h"
#include "cli/CommandLine.h"
#include "cli/Console.h"
#include "cli/LocaleText.h"
#include "cli/Terminal.h"

namespace {

int UsageError(const tarvik::LocaleText& locale, const std::string& error) {
  tarvik::WriteText(stderr, "tarvik-check: " + locale.FromUtf8(tarvik::VisibleText(error)) +
                                "\nTry 'tarvik-check --help' for more information.\n");
  return tarvik::kExitUsage;
}

}  // namespace

int main(int argc, char* argv[]) {
  using namespace tarvik;
  const LocaleText locale;
  Arguments arguments(argc, argv);
  CommandLine command_line = ParseCommandLine(arguments.Count(), arguments.Vector());
  switch (command_line.action) {
    case CommandLineAction::kHelp:
      WriteText(stdout, UsageText());
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
