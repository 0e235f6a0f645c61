#include <cstdio>

#include "app/Version.h"
#include "cli/CheckRun.h"
#include "cli/CommandLine.h"
#include "cli/Console.h"

int main(int argc, char* argv[]) {
  using namespace tarvik;
  const CommandLine command_line = ParseCommandLine(argc, argv);
  switch (command_line.action) {
    case CommandLineAction::kHelp:
      std::fputs(UsageText().c_str(), stdout);
      return kExitNoProblem;
    case CommandLineAction::kVersion:
      std::printf("tarvik-check %s (%s)\n", kVersion, kReleaseDate);
      return kExitNoProblem;
    case CommandLineAction::kUsageError:
      std::fprintf(stderr, "tarvik-check: %s\nTry 'tarvik-check --help' for more information.\n",
                   command_line.error.c_str());
      return kExitUsage;
    case CommandLineAction::kCheck:
      break;
  }
  Console console(stdout, stderr, command_line.options.quiet);
  return RunCheck(command_line.options, console);
}
