#include "cli/CheckRun.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <optional>
#include <utility>
#include <vector>

#include "app/TApplication.h"
#include "cli/CheckResultFiles.h"
#include "cli/ConsoleDialogs.h"
#include "cli/HistoryCommands.h"
#include "cli/Interrupt.h"
#include "cli/OutputChecks.h"
#include "cli/PathErrors.h"
#include "cli/RunConnections.h"
#include "cli/SystemPlatform.h"
#include "history/HistoryPath.h"
#include "platform/IoError.h"
#include "scan/ExpectedSums.h"
#include "scan/ListFile.h"
#include "util/Utf8Path.h"

namespace tarvik {

namespace {

constexpr char kProgramName[] = "tarvik-check: ";
// The info window's caption after a check that met no problem.
constexpr char kOkCaption[] = "Ok";

// An error of the run on standard error, after the program's name.
void ErrorLine(Console& console, const std::string& text) { console.Error(kProgramName + text); }

// A path from the command line in drive form: "D:\DATA" as it stands, a POSIX path (a relative
// one from the working directory, links resolved) on the drive that holds it. Empty when no
// drive holds it.
std::string DrivePathOf(Platform& platform, const std::string& path) {
  if (IsDrivePath(path)) return path;
  std::error_code error;
  const std::filesystem::path full =
      std::filesystem::weakly_canonical(std::filesystem::absolute(Utf8Path(path), error), error);
  return error ? std::string() : platform.FromSystemPath(Utf8Text(full));
}

void ApplyOptions(const CheckOptions& options, TForm1& form) {
  form.CheckBoxMode.SetChecked(options.subdirectories);
  const auto block = std::ranges::find(ScanEngine::kBlockSizes, options.block_size);
  form.CBSizeBlock.SetItemIndex(static_cast<int>(block - std::begin(ScanEngine::kBlockSizes)));
  form.EditMask.SetText(options.mask);
  CheckBox* const boxes[] = {&form.CheckBox1, &form.CheckBox2, &form.CheckBox3, &form.CheckBox4,
                             &form.CheckBox5};
  for (std::size_t i = 0; i < options.attributes.size(); ++i) {
    boxes[i]->SetChecked(options.attributes[i]);
  }
  form.CheckBox6.SetChecked(options.list_file.has_value());
}

// The file the check is reading, in drive form.
std::string CurrentFile(const TForm1& form) {
  const std::string& directory = form.EditCurDir.Text();
  const bool separated = !directory.empty() && directory.back() == '\\';
  return directory + (separated ? "" : "\\") + form.EditCurFile.Text();
}

// The directory checked, in drive form ending in "\\".
std::string StartDirectory(const TForm1& form) {
  const std::string& directory = form.EditCurDir.Text();
  return directory.ends_with('\\') ? directory : directory + '\\';
}

// The password of the run's connections: never on the command line, where every user of the
// machine could read it.
std::string ConnectionPassword() {
  const char* password = std::getenv("TARVIK_PASSWORD");
  return password == nullptr ? std::string() : password;
}

// An output file given on the command line, in drive form; empty, after an error that names
// it, when no drive holds it.
std::string OutputPath(Platform& platform, const std::string& what, const std::string& path,
                       Console& console) {
  // A name that ends in a separator names a folder: resolving it would drop the separator and
  // name a file of the folder's name instead.
  const bool folder = !path.empty() && (path.back() == '/' || path.back() == '\\');
  const std::string drive_path =
      path.empty() || folder ? std::string() : DrivePathOf(platform, path);
  if (drive_path.empty()) {
    ErrorLine(console, what + " '" + path + "': " +
                           (path.empty() ? OutputFileError(path, kErrPathNotFound)
                            : folder     ? "names a folder, not a file"
                                         : "on no drive of this machine"));
  }
  return drive_path;
}

// What the run's output files are called in its messages.
constexpr char kListFile[] = "list file";
constexpr char kReport[] = "report";
constexpr char kChecksumFile[] = "checksum file";

// A file the run writes: what it is called, the path as given and in drive form.
struct OutputFile {
  std::string what;
  std::string given;
  std::string path;
};

// The run's output files in drive form, in the order the options list them; nothing, after an
// error that names the file, when one is on no drive or two are the same file.
std::optional<std::vector<OutputFile>> OutputFiles(const CheckOptions& options, Platform& platform,
                                                   Console& console) {
  std::vector<OutputFile> files;
  for (const auto& [what, given] :
       {std::pair{kListFile, &options.list_file}, std::pair{kReport, &options.report},
        std::pair{kChecksumFile, &options.sums}}) {
    if (!*given) continue;
    const std::string path = OutputPath(platform, what, **given, console);
    if (path.empty()) return std::nullopt;
    for (const OutputFile& before : files) {
      if (!SameFile(platform, before.path, path)) continue;
      ErrorLine(console,
                "the " + before.what + " and the " + what + " are the same file '" + **given + "'");
      return std::nullopt;
    }
    files.push_back({what, **given, path});
  }
  return files;
}

// The drive path of the output `what`; nothing when it was not asked for.
std::optional<std::string> PathOf(const std::vector<OutputFile>& files, const std::string& what) {
  for (const OutputFile& file : files) {
    if (file.what == what) return file.path;
  }
  return std::nullopt;
}

void OutputError(const OutputFile& file, int code, Console& console) {
  ErrorLine(console, file.what + " '" + file.given + "': " + OutputFileError(file.given, code));
}

// False, after an error that names it, when an output is a file the run reads: the checksum
// file the check verifies against or the history. Writing it would destroy what the files are
// compared with.
bool OutputsSpareInput(const std::vector<OutputFile>& outputs, const CheckOptions& options,
                       const std::string& history, const TForm1& form, Platform& platform,
                       Console& console) {
  // A file the run reads, in drive form, and what it is called in the error.
  std::vector<std::pair<std::string, std::string>> inputs;
  if (options.verify) {
    inputs.emplace_back(DrivePathOf(platform, *options.verify),
                        "the checksum file verified against");
  } else if (!options.no_verify) {
    for (std::string& found : ChecksumFilesIn(platform, StartDirectory(form)))
      inputs.emplace_back(std::move(found), "the checksum file verified against");
  }
  if (!history.empty()) {
    // The store's journal files beside the database are the history too.
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
      inputs.emplace_back(DrivePathOf(platform, history + suffix),
                          "the history '" + history + suffix + "'");
    }
  }
  for (const auto& [input, name] : inputs) {
    if (input.empty()) continue;
    for (const OutputFile& output : outputs) {
      if (!SameFile(platform, output.path, input)) continue;
      ErrorLine(console, output.what + " '" + output.given + "': the same file as " + name +
                             ", which it would overwrite");
      return false;
    }
  }
  return true;
}

// False, after an error that names the file, when an output cannot be made; an existing one is
// left as it is, so that a run that ends here destroys nothing.
bool OutputsCanBeMade(const std::vector<OutputFile>& outputs, Platform& platform,
                      Console& console) {
  for (const OutputFile& output : outputs) {
    if (const int code = ProbeOutput(platform, output.path); code != kNoError) {
      OutputError(output, code, console);
      return false;
    }
  }
  return true;
}

// The run's end after a check that ran to its end: says which output file misses lines, and
// why. True when one does.
bool ReportLostLines(const std::vector<OutputFile>& files, const std::vector<int>& lost,
                     Console& console) {
  bool incomplete = false;
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (lost[i] == kNoError) continue;
    ErrorLine(console,
              files[i].what + " '" + files[i].given + "' is incomplete: " + ErrorInWords(lost[i]));
    incomplete = true;
  }
  return incomplete;
}

// Why the checksum file could not be verified against, in words.
std::string ChecksumsFault(const ExpectedSums& sums) {
  if (sums.LoadError() == kErrNotEnoughMemory) return "too large for the memory available";
  if (sums.LoadError() != kNoError) return ErrorInWords(sums.LoadError());
  return "no properly formatted checksum lines found";
}

// What was not understood in a checksum file, on standard error.
void ReportMalformed(const ExpectedSums& sums, const std::string& name, Console& console) {
  if (sums.Malformed() == 0) return;
  ErrorLine(console, std::string(kChecksumFile) + " '" + name +
                         "': " + std::to_string(sums.Malformed()) +
                         " line(s) not understood, the first is line " +
                         std::to_string(sums.FirstMalformed()));
}

// The checksum files the run verifies against, before anything is read: the one given, or every
// one the start directory holds (said on standard error). False, after an error that names
// it, when the one given cannot be verified against; one found that cannot be is the check's
// problem, which the check reports.
bool LoadChecksums(const CheckOptions& options, TForm1& form, Platform& platform,
                   Console& console) {
  form.FindChecksumFile = false;
  const bool case_sensitive = form.DirectoryListBox1.CaseSensitive();
  if (options.verify) {
    const std::string path = OutputPath(platform, kChecksumFile, *options.verify, console);
    if (path.empty()) return false;
    ExpectedSums sums;
    sums.Load(platform, path, case_sensitive);
    if (sums.LoadError() != kNoError || sums.NamesNothing()) {
      ErrorLine(console,
                std::string(kChecksumFile) + " '" + *options.verify + "': " + ChecksumsFault(sums));
      return false;
    }
    ReportMalformed(sums, *options.verify, console);
    form.Checksums.push_back(std::move(sums));
    return true;
  }
  if (options.no_verify) return true;
  const std::string start = StartDirectory(form);
  const auto usable = [](const ExpectedSums& sums) {
    return sums.LoadError() == kNoError && !sums.NamesNothing();
  };
  std::string verified;
  for (const std::string& found : ChecksumFilesIn(platform, start)) {
    ExpectedSums& sums = form.Checksums.emplace_back();
    sums.Load(platform, found, case_sensitive);
    // As the user knows it: its name in the directory checked.
    const std::string name = found.substr(start.size());
    if (usable(sums)) {
      verified += (verified.empty() ? "" : ", ") + name;
    } else {
      ErrorLine(console, std::string(kChecksumFile) + " '" + name +
                             "' in the directory checked: " + ChecksumsFault(sums));
    }
  }
  if (verified.empty()) return true;
  ErrorLine(console, "verifying against " + verified + " in the directory checked");
  for (const ExpectedSums& sums : form.Checksums) {
    if (usable(sums)) ReportMalformed(sums, sums.Path().substr(start.size()), console);
  }
  return true;
}

// Where a stop signal found the check: the file it was reading, if any, and how many files had
// been checked before.
struct StopPoint {
  std::string file;
  std::int64_t files_checked = 0;
};

// The sentence after the summary of a run that a signal stopped, whose "Ok" stands only for
// the files checked up to there.
void ReportStop(const StopPoint& stopped, Console& console) {
  std::string text = "stopped by " + InterruptSignalName();
  if (!stopped.file.empty()) text += " while reading '" + stopped.file + "'";
  ErrorLine(console, text + ": the check is incomplete, " + std::to_string(stopped.files_checked) +
                         " file(s) checked before the stop");
}

// Everything from the drive table to the summary; an IoError that ends the command ends it.
int Run(const CheckOptions& options, Console& console) {
  SystemPlatform system_platform;
  Platform& platform = system_platform.Get();
  const std::optional<std::vector<OutputFile>> outputs = OutputFiles(options, platform, console);
  if (!outputs) return kExitUsage;
  std::optional<std::string> list_file;
  if (options.list_file) list_file = outputs->front().path;
  RunConnections connections(platform, console);
  const std::string password = ConnectionPassword();
  if (!connections.Connect(options.connections, password)) return kExitError;
  const std::string share_path = connections.DriveFormOf(options.path, password);
  if (share_path.empty()) return kExitError;
  const std::string directory = DrivePathOf(platform, share_path);
  // Changes are accepted for one file too: its folder is where the command begins.
  const bool one_file =
      options.accept_changes && !directory.empty() && platform.FileExists(directory);
  const std::string start = one_file ? directory.substr(0, directory.rfind('\\') + 1) : directory;
  const int code = directory.empty() ? kErrPathNotFound : platform.SetCurrentDirectory(start);
  if (code != kNoError) {
    const bool is_file = !directory.empty() && platform.FileExists(directory);
    ErrorLine(console,
              "'" + options.path + "': " + StartDirectoryError(options.path, code, is_file));
    return kExitError;
  }

  ConsoleDialogs dialogs(console, list_file);
  TApplication application(platform, dialogs);
  TForm1& form = application.Form1;
  ApplyOptions(options, form);
  const std::string history = options.no_history ? "" : DefaultHistoryPath();
  form.UseHistory(history);
  form.N17.SetChecked(!options.no_history);
  if (IsHistoryCommand(options)) {
    return RunHistoryCommand(options, form, history,
                             one_file || directory.ends_with('\\') ? directory : directory + '\\',
                             console);
  }
  if (!OutputsSpareInput(*outputs, options, history, form, platform, console)) {
    return kExitUsage;
  }
  if (!LoadChecksums(options, form, platform, console)) return kExitUsage;
  if (!OutputsCanBeMade(*outputs, platform, console)) return kExitUsage;
  CheckResultFiles results(platform, PathOf(*outputs, kReport), PathOf(*outputs, kChecksumFile));
  ReadSpeed& speed = form.Scan.Speed;
  form.SumsWanted = options.sums.has_value();
  std::int64_t files_ended = 0;
  speed.OnFileEnd = [&](const FileSpeed& file) {
    ++files_ended;
    results.AddFile(file);
  };
  // The engine leaves out the list file itself, as it does in the window.
  for (const OutputFile& output : *outputs) {
    if (output.what != kListFile) form.Scan.WrittenFiles.push_back(output.path);
  }

  Memo& problems = application.ListError.Memo1;
  int echoed = 0;
  problems.StateChanged.Subscribe([&] {
    echoed = std::min(echoed, problems.Count());
    for (; echoed < problems.Count(); ++echoed) console.ProblemLine(problems.Lines()[echoed]);
  });
  std::optional<StopPoint> stopped;
  dialogs.SetPump([&] {
    if (InterruptRequested() && form.N6.Enabled()) {
      stopped = StopPoint{speed.Reading() ? speed.CurrentFile().path : "", files_ended};
      form.N6.Click();
    }
    if (console.ProgressDue()) {
      console.Progress(CurrentFile(form), form.Gauge2.Position(), speed.RecentSpeed(),
                       speed.SecondsLeft());
    }
  });

  application.Run();
  int list_lost = kNoError;
  try {
    form.BitBtn1Click();
  } catch (const ListFileError& error) {
    if (!error.lines_lost()) {
      // The check never began: the other outputs stay as they were.
      ErrorLine(console, std::string(kListFile) + " '" + *options.list_file +
                             "': " + OutputFileError(*options.list_file, error.code()));
      return kExitUsage;
    }
    list_lost = error.code();
  } catch (const IoError&) {
    // The check began: its outputs say what it met up to the error.
    results.Make();
    throw;
  }
  results.Make();

  console.SummaryLine(form.GroupBox3.Caption() + form.Label8.Caption() + form.Edit1.Text() + ", " +
                      form.Edit2.Text() + " " + form.Label9.Caption());
  console.SummaryLine(form.Label7.Caption() + form.EditSec1.Text());
  ReportHistory(form, history, console);
  const TDlgInfo& info = application.DlgInfo;
  // Without the info window, the check had nothing to check and said so in a box.
  console.SummaryLine(info.Visible() ? info.Caption() : dialogs.LastInformation());
  if (stopped) ReportStop(*stopped, console);
  std::vector<int> lost;
  for (const OutputFile& output : *outputs) {
    lost.push_back(output.what == kListFile ? list_lost
                   : output.what == kReport ? results.ReportLost()
                                            : results.SumsLost());
  }
  const bool incomplete = ReportLostLines(*outputs, lost, console);
  if (stopped) return InterruptedStatus();
  if (incomplete) return kExitIncomplete;
  return info.Visible() && info.Caption() != kOkCaption ? kExitProblems : kExitNoProblem;
}

}  // namespace

int RunCheck(const CheckOptions& options, Console& console) {
  CatchInterrupt();
  try {
    return Run(options, console);
  } catch (const IoError& error) {
    ErrorLine(console, std::string(error.what()) + ".");
    // A run stopped by Ctrl+C may end so when the drive it gave up on cannot be reached any
    // more (a share whose server hangs): it still ends as stopped.
    if (!InterruptRequested()) return kExitError;
    ErrorLine(console, "stopped by " + InterruptSignalName() + ": the check is incomplete");
    return InterruptedStatus();
  } catch (const std::bad_alloc&) {
    // Names held for the check (a checksum file's, the problem list) can outgrow a memory limit.
    ErrorLine(console, "not enough memory: the check is incomplete");
    return kExitError;
  }
}

}  // namespace tarvik
