#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/LocaleText.h"

namespace tarvik {

// A drive letter to connect to a shared directory for the run: "Z:" and "\\SRV\DOCS".
struct NetworkDrive {
  std::string local;
  std::string remote;
};

// What one run of tarvik-check is to check and how; the defaults are the main window's.
struct CheckOptions {
  // The directory to check: "D:\DATA" as it stands, or a POSIX path.
  std::string path;
  bool subdirectories = false;
  int block_size = 16384;
  std::string mask = "*.*";
  // Which attribute boxes are on, in the window's order: ReadOnly, Hidden, System, Archive,
  // Normal.
  std::array<bool, 5> attributes = {true, true, true, true, true};
  // Where the found-files list goes; nothing for no list.
  std::optional<std::string> list_file;
  // Where the per-file report goes, a POSIX path; nothing for no report.
  std::optional<std::string> report;
  // Where the SHA-256 of every file read without a problem goes; nothing for none.
  std::optional<std::string> sums;
  // The checksum file to verify the files against; nothing for the start directory's own.
  std::optional<std::string> verify;
  // Not even the start directory's own checksum file.
  bool no_verify = false;
  bool quiet = false;
  // Neither record the check in the volume's history nor compute fingerprints for it.
  bool no_history = false;
  // Print the history of PATH's volume instead of checking.
  bool show_history = false;
  // Remove the checks of PATH's volume from the history instead of checking.
  bool forget_history = false;
  // Take the content now of the files below PATH that the history holds as changed as their
  // known-good content, instead of checking.
  bool accept_changes = false;
  // Read the whole history and check every row, instead of checking.
  bool check_history = false;
  // Connected in this order before the check; the password comes from the environment.
  std::vector<NetworkDrive> connections;
};

enum class CommandLineAction { kCheck, kHelp, kVersion, kUsageError };

struct CommandLine {
  CommandLineAction action = CommandLineAction::kCheck;
  CheckOptions options;
  // What is wrong with the command line, for kUsageError.
  std::string error;
};

// Reads the arguments the GNU way: options and the path in any order, "--" ends the options,
// long options may be abbreviated and take their value after "=" or as the next argument.
CommandLine ParseCommandLine(int argc, char* argv[]);

// Whether `path` is in drive form ("D:\DATA", "D:") rather than a POSIX path.
bool IsDrivePath(std::string_view path);

// Takes the arguments that are text of the program rather than names for the kernel (the mask,
// paths in drive form, connections) from the terminal's character set to UTF-8; a POSIX path
// stays the bytes the file system holds. False, with what is wrong in `error`, for an argument
// that is not valid text in that set.
bool OptionsFromLocale(const LocaleText& locale, CheckOptions& options, std::string& error);

// What --help prints.
std::string UsageText();

// The names -a takes, in the order of CheckOptions::attributes.
inline constexpr std::array<const char*, 5> kAttributeNames = {"readonly", "hidden", "system",
                                                               "archive", "normal"};

}  // namespace tarvik
