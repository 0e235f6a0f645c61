#include "cli/CommandLine.h"

#include <getopt.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <iterator>
#include <optional>
#include <string_view>
#include <utility>

#include "scan/ScanEngine.h"
#include "util/Path.h"

namespace tarvik {

namespace {

enum LongOnly {
  kHelpOption = 256,
  kVersionOption,
  kConnectOption,
  kReportOption,
  kSumsOption,
  kVerifyOption,
  kNoVerifyOption,
  kHistoryOption,
  kNoHistoryOption,
  kForgetHistoryOption,
  kAcceptChangesOption,
  kCheckHistoryOption
};

constexpr char kShortOptions[] = ":rb:m:a:l:q";
constexpr option kLongOptions[] = {
    {"subdirs", no_argument, nullptr, 'r'},
    {"block", required_argument, nullptr, 'b'},
    {"mask", required_argument, nullptr, 'm'},
    {"attributes", required_argument, nullptr, 'a'},
    {"list", required_argument, nullptr, 'l'},
    {"quiet", no_argument, nullptr, 'q'},
    {"report", required_argument, nullptr, kReportOption},
    {"sums", required_argument, nullptr, kSumsOption},
    {"verify", required_argument, nullptr, kVerifyOption},
    {"no-verify", no_argument, nullptr, kNoVerifyOption},
    {"history", no_argument, nullptr, kHistoryOption},
    {"no-history", no_argument, nullptr, kNoHistoryOption},
    {"forget-history", no_argument, nullptr, kForgetHistoryOption},
    {"accept-changes", no_argument, nullptr, kAcceptChangesOption},
    {"check-history", no_argument, nullptr, kCheckHistoryOption},
    {"connect", required_argument, nullptr, kConnectOption},
    {"help", no_argument, nullptr, kHelpOption},
    {"version", no_argument, nullptr, kVersionOption},
    {nullptr, 0, nullptr, 0},
};

std::string BlockSizeList() {
  std::string list;
  for (const int size : ScanEngine::kBlockSizes) {
    if (!list.empty()) list += ", ";
    list += std::to_string(size);
  }
  return list;
}

bool ParseBlockSize(std::string_view text, int& block_size) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return false;
  if (std::ranges::find(ScanEngine::kBlockSizes, value) == std::end(ScanEngine::kBlockSizes)) {
    return false;
  }
  block_size = value;
  return true;
}

bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) {
    return (x >= 'A' && x <= 'Z' ? x - 'A' + 'a' : x) == (y >= 'A' && y <= 'Z' ? y - 'A' + 'a' : y);
  });
}

// A comma-separated list of attribute names; an empty list turns every box off.
bool ParseAttributes(std::string_view text, std::array<bool, 5>& attributes, std::string& error) {
  attributes.fill(false);
  while (!text.empty()) {
    const std::size_t comma = std::min(text.find(','), text.size());
    const std::string_view name = text.substr(0, comma);
    text.remove_prefix(std::min(comma + 1, text.size()));
    if (name.empty()) continue;
    const auto known = std::ranges::find_if(
        kAttributeNames, [name](const char* known) { return SameIgnoringAsciiCase(name, known); });
    if (known == kAttributeNames.end()) {
      error = "unknown attribute '" + std::string(name) +
              "'; the attributes are readonly, hidden, system, archive and normal";
      return false;
    }
    attributes[known - kAttributeNames.begin()] = true;
  }
  return true;
}

bool IsPathSeparator(char c) { return c == '\\' || c == '/'; }

// "Z" or "Z:".
bool IsDriveLetter(std::string_view local) {
  return (local.size() == 1 || (local.size() == 2 && local[1] == ':')) &&
         std::isalpha(static_cast<unsigned char>(local[0]));
}

// "\\COMPUTER\SHARE", folders of the share after it allowed.
bool IsShareName(std::string_view remote) {
  if (remote.size() < 2 || !IsPathSeparator(remote[0]) || !IsPathSeparator(remote[1])) {
    return false;
  }
  remote.remove_prefix(2);
  const std::size_t end = remote.find_first_of("\\/");
  return end != 0 && end != std::string_view::npos && end + 1 < remote.size() &&
         !IsPathSeparator(remote[end + 1]);
}

// "LETTER=REMOTE": a drive letter and a share; whether the share can be reached is the network
// unit's to judge.
bool ParseNetworkDrive(std::string_view text, std::vector<NetworkDrive>& connections) {
  const std::size_t equals = text.find('=');
  if (equals == std::string_view::npos || !IsDriveLetter(text.substr(0, equals)) ||
      !IsShareName(text.substr(equals + 1))) {
    return false;
  }
  connections.push_back(
      {std::string(text.substr(0, equals)), std::string(text.substr(equals + 1))});
  return true;
}

// The first of the mask's ';'-separated patterns that is a path rather than a pattern of file
// names; empty when there is none.
std::string_view PathInMask(std::string_view mask) {
  while (true) {
    const std::size_t semicolon = std::min(mask.find(';'), mask.size());
    if (!IsNamePattern(mask.substr(0, semicolon))) return mask.substr(0, semicolon);
    if (semicolon == mask.size()) return {};
    mask.remove_prefix(semicolon + 1);
  }
}

// Sets a file option; a second, different file for the same option is an error, as only one of
// them could be written or read. True when the option holds `value`.
bool SetFileOption(std::optional<std::string>& option, const char* value) {
  if (option && *option != value) return false;
  option = value;
  return true;
}

// Options that cannot be given together: what one asks for, the other forbids. The history
// commands check nothing, so the files of a check are no options of theirs.
std::string ContradictionIn(const CheckOptions& options) {
  if (options.verify.has_value() && options.no_verify) {
    return "options '--verify' and '--no-verify' contradict each other";
  }
  // The history's commands: each is the whole run, and --no-history turns the history off.
  const char* command_name = nullptr;
  for (const auto& [command, name] :
       {std::pair{options.no_history, "--no-history"}, std::pair{options.show_history, "--history"},
        std::pair{options.forget_history, "--forget-history"},
        std::pair{options.accept_changes, "--accept-changes"},
        std::pair{options.check_history, "--check-history"}}) {
    if (!command) continue;
    if (command_name != nullptr) {
      return std::string("options '") + command_name + "' and '" + name + "' contradict each other";
    }
    command_name = name;
  }
  if (command_name != nullptr && !options.no_history) {
    for (const auto& [file, file_name] :
         {std::pair{&options.list_file, "--list"}, std::pair{&options.report, "--report"},
          std::pair{&options.sums, "--sums"}, std::pair{&options.verify, "--verify"}}) {
      if (file->has_value()) {
        return std::string("option '") + file_name + "' belongs to a check, and '" + command_name +
               "' checks nothing";
      }
    }
  }
  return "";
}

CommandLine UsageError(std::string error) {
  CommandLine command_line;
  command_line.action = CommandLineAction::kUsageError;
  command_line.error = std::move(error);
  return command_line;
}

CommandLine RepeatedFileError(const char* name, const std::optional<std::string>& first,
                              const char* second) {
  return UsageError(std::string("option '") + name + "' given twice, as '" + *first + "' and as '" +
                    second + "'");
}

// What is wrong with the option getopt_long refused: `code` is its optopt, `given` the
// argument that held it.
std::string RefusedOption(int code, std::string_view given) {
  if (!given.starts_with("--")) {
    return std::string("unknown option '-") + static_cast<char>(code) + "'";
  }
  const std::string_view name = given.substr(2, given.find('=') - 2);
  // A known option refused: one that takes no value was given one.
  for (const option& known : kLongOptions) {
    if (code != 0 && known.name != nullptr && known.val == code) {
      return std::string("option '--") + known.name + "' takes no value";
    }
  }
  std::string candidates;
  int count = 0;
  for (const option& known : kLongOptions) {
    if (known.name == nullptr || !std::string_view(known.name).starts_with(name)) continue;
    candidates += std::string(count++ == 0 ? "" : ", ") + "'--" + known.name + "'";
  }
  if (count > 1) {
    return "option '--" + std::string(name) + "' is ambiguous; it may be " + candidates;
  }
  return "unknown option '" + std::string(given) + "'";
}

}  // namespace

CommandLine ParseCommandLine(int argc, char* argv[]) {
  CommandLine command_line;
  CheckOptions& options = command_line.options;
  // 0 starts the scan of a new argument vector afresh; the messages are ours.
  optind = 0;
  opterr = 0;
  for (int option;
       (option = getopt_long(argc, argv, kShortOptions, kLongOptions, nullptr)) != -1;) {
    switch (option) {
      case 'r':
        options.subdirectories = true;
        break;
      case 'b':
        if (!ParseBlockSize(optarg, options.block_size)) {
          return UsageError("invalid block size '" + std::string(optarg) + "'; use one of " +
                            BlockSizeList());
        }
        break;
      case 'm':
        if (const std::string_view path = PathInMask(optarg); !path.empty()) {
          return UsageError("mask '" + std::string(path) +
                            "': a mask names files, not paths; '\\', '/' and ':' are not allowed");
        }
        options.mask = optarg;
        break;
      case 'a': {
        std::string error;
        if (!ParseAttributes(optarg, options.attributes, error)) return UsageError(error);
        break;
      }
      case 'l':
        if (!SetFileOption(options.list_file, optarg)) {
          return RepeatedFileError("--list", options.list_file, optarg);
        }
        break;
      case 'q':
        options.quiet = true;
        break;
      case kReportOption:
        if (!SetFileOption(options.report, optarg)) {
          return RepeatedFileError("--report", options.report, optarg);
        }
        break;
      case kSumsOption:
        if (!SetFileOption(options.sums, optarg)) {
          return RepeatedFileError("--sums", options.sums, optarg);
        }
        break;
      case kVerifyOption:
        if (!SetFileOption(options.verify, optarg)) {
          return RepeatedFileError("--verify", options.verify, optarg);
        }
        break;
      case kNoVerifyOption:
        options.no_verify = true;
        break;
      case kHistoryOption:
        options.show_history = true;
        break;
      case kNoHistoryOption:
        options.no_history = true;
        break;
      case kForgetHistoryOption:
        options.forget_history = true;
        break;
      case kAcceptChangesOption:
        options.accept_changes = true;
        break;
      case kCheckHistoryOption:
        options.check_history = true;
        break;
      case kConnectOption:
        if (!ParseNetworkDrive(optarg, options.connections)) {
          return UsageError("invalid connection '" + std::string(optarg) +
                            "'; write it as LETTER:=\\\\COMPUTER\\SHARE");
        }
        break;
      case kHelpOption:
        command_line.action = CommandLineAction::kHelp;
        return command_line;
      case kVersionOption:
        command_line.action = CommandLineAction::kVersion;
        return command_line;
      case ':':
        return UsageError("option '" + std::string(argv[optind - 1]) + "' needs a value");
      default:
        return UsageError(RefusedOption(optopt, argv[optind - 1]));
    }
  }
  if (optind == argc) return UsageError("no PATH to check");
  if (argc - optind > 1)
    return UsageError("only one PATH, not also '" + std::string(argv[optind + 1]) + "'");
  options.path = argv[optind];
  if (options.path.empty()) return UsageError("PATH is empty");
  if (std::string error = ContradictionIn(options); !error.empty()) return UsageError(error);
  return command_line;
}

bool IsDrivePath(std::string_view path) {
  return path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]));
}

bool OptionsFromLocale(const LocaleText& locale, CheckOptions& options, std::string& error) {
  if (!locale.Converts()) return true;
  std::vector<std::pair<const char*, std::string*>> texts = {{"mask", &options.mask}};
  if (IsDrivePath(options.path)) texts.push_back({"PATH", &options.path});
  for (const auto& [what, file] :
       {std::pair{"list file", &options.list_file}, std::pair{"report", &options.report},
        std::pair{"checksum file", &options.sums}, std::pair{"checksum file", &options.verify}}) {
    if (*file && IsDrivePath(**file)) texts.push_back({what, &**file});
  }
  for (NetworkDrive& drive : options.connections) {
    texts.push_back({"connection", &drive.local});
    texts.push_back({"connection", &drive.remote});
  }
  for (const auto& [what, text] : texts) {
    std::optional<std::string> converted = locale.ToUtf8(*text);
    if (!converted) {
      error = std::string(what) + " '" + *text + "' is not valid text in the character set " +
              locale.Charset() + " of the locale";
      return false;
    }
    *text = std::move(*converted);
  }
  return true;
}

std::string UsageText() {
  return R"(Usage: tarvik-check [OPTION]... PATH
Reads every file of the directory PATH back in full and reports each file that cannot be
found, opened or read completely. PATH is a drive path such as 'D:\DATA', a network path
such as '\\SERVER\SHARE\DIR' (checked through a free letter connected for the run) or a
POSIX path.

  -r, --subdirs          also check every subdirectory, deepest first
  -b, --block=N          read block in bytes: 2048, 4096, 8192, 16384 (default) or 32768
  -m, --mask=MASK        files to check, patterns separated by ';' (default *.*)
  -a, --attributes=LIST  file attributes to include, separated by ',': readonly, hidden,
                         system, archive, normal (default: all five)
  -l, --list=FILE        write the list of the files found to FILE (code page 1251)
  -q, --quiet            print only the problem lines (and the --history table), no summary
                         and no progress
      --report=FILE      write a CSV line for every file checked to FILE: path, size,
                         bytes read, seconds, MB/s, outcome (ok, not-found, open1,
                         open2, read, size, abort, checksum or changed), whether the
                         problem is new since the last check and, for a file now three
                         times slower, its MB/s then
      --sums=FILE        write the SHA-256 of every file read without a problem to FILE,
                         as sha256sum does, each name relative to FILE's directory:
                         'sha256sum -c' run there verifies them
      --verify=FILE      compare every file read with the line of the checksum file FILE
                         that names it (sha256sum, sha1sum, md5sum or BSD tag lines,
                         names relative to FILE's directory); a file that differs from
                         any line naming it is a problem, and so is a file it names that
                         does not exist or that the check did not read; a FILE without
                         one such line is a usage error
      --no-verify        do not verify against the checksum files PATH holds itself
                         (every one of SHA256SUMS, sha256sum.txt, MD5SUMS and
                         md5sum.txt found), as is done without --verify
      --no-history       neither record this check in the history of the volume nor
                         compare it with the last check there; no fingerprints either
      --history          print the checks of the volume that holds PATH, newest first,
                         and exit
      --forget-history   remove the checks of the volume that holds PATH from the
                         history, and exit
      --accept-changes   take the content now of every file below PATH (or of the file
                         PATH) that the history reports as changed as its right
                         content, and exit
      --check-history    read the whole history, check every stored row against its
                         check value and exit: 0 sound, 1 damage found
      --connect=L:=\\COMPUTER\SHARE
                         connect the drive letter L: to a network share for this run,
                         with the password in the environment variable TARVIK_PASSWORD
                         (unset or empty: a guest logon); may be given more than once
      --help             show this help and exit
      --version          show the version and exit

The three most common calls:
  tarvik-check /media/cdrom                    check the files of one directory
  tarvik-check -r /media/cdrom                 check them with all subdirectories
  tarvik-check -r -l /tmp/list.txt 'D:\'       check a whole drive, listing its files

A network share, its password in the environment:
  TARVIK_PASSWORD=... tarvik-check -r --connect 'Z:=\\SRV\DOCS' 'Z:\'

Each problem line goes to standard output as it is found, then a summary; progress (the
file, its share read, the read speed and the time the file still needs) goes to standard
error when that is a terminal. Ctrl+C, SIGTERM and SIGHUP stop the check at the file being
read, also while a read hangs on a damaged disc or a server that no longer answers; a
second one ends the program at once, saying so. After the summary of a stopped check,
standard error says which signal stopped it, the file it was reading and how many files
were checked before. A list file or report line that cannot be written does not stop the
check; the end says which file is incomplete and why.

The list file, the report and the checksum file are made only once every argument has been
found right, PATH reached and the checksum file to verify against read: a run that ends
before the check leaves existing files as they were. -b, -m and -a given again count as
given last; --list, --report, --sums or --verify given twice with different files, --verify
with --no-verify, and two of --history, --forget-history, --accept-changes,
--check-history and --no-history, or one of the first four with a file option, are usage
errors. The first four make no file: without a history there is nothing to show, forget,
accept or check.

Fingerprints come from the same read as the check: no file is read twice.

In a locale whose character set is not UTF-8 (ru_RU.CP1251, ru_RU.KOI8-R), the mask, paths
in drive form and connections are read in that set (one not valid there is a usage error),
and every line printed is written in it, a character it cannot hold as '?' (the report
stays UTF-8, the checksum file holds names as on disk, the list file is in code page
1251). A POSIX path is taken as the bytes the file system holds.

Every check is recorded in $XDG_DATA_HOME/tarvik/history.sqlite3 (~/.local/share/tarvik/ when
unset; without HOME either the history is off, which standard error says). Each file is
compared with the last state of it that a check read without a problem: a file whose content
changed while its size and modification time did not is a problem ('changed' in the report),
at every check until --accept-changes takes its new content. A history that another process
holds or that cannot be written is still compared with; one that cannot be read is said.

Exit status: 0 no problem found (also after --history, --forget-history, --accept-changes
and a sound --check-history), 1 problems found (damage, after --check-history), 2 wrong
usage (also a list file, report or checksum file that cannot be made, whose name ends in
'/', that is the same file as another of them, as the checksum file verified against or as
the history, hard and symbolic links included, or a checksum file to verify against that
cannot be read), 3 an error ended the check (its text is printed, a failed connection too),
standard output could not be written or a command of the history could not open it, 4 the
list file, the report or the checksum file is incomplete, 128+N stopped by signal N (130
Ctrl+C, 143 SIGTERM, 129 SIGHUP).
)";
}

}  // namespace tarvik
