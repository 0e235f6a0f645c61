#include "cli/CheckRun.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <memory>
#include <optional>

#include "app/TApplication.h"
#include "cli/ConsoleDialogs.h"
#include "cli/Interrupt.h"
#include "cli/ReportFile.h"
#include "net/Net.h"
#include "platform/IoError.h"
#include "platform/posix/PosixPlatform.h"
#include "platform/smb/SmbPlatform.h"
#include "scan/ListFile.h"

namespace tarvik {

namespace {

constexpr char kProgramName[] = "tarvik-check: ";
// The info window's caption after a check that met no problem.
constexpr char kOkCaption[] = "Ok";

// An error of the run on standard error, after the program's name.
void ErrorLine(Console& console, const std::string& text) { console.Error(kProgramName + text); }

bool IsDrivePath(const std::string& path) {
  return path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]));
}

// A path from the command line in drive form: "D:\DATA" as it stands, a POSIX path (a relative
// one from the working directory, links resolved) on the drive that holds it. Empty when no
// drive holds it.
std::string DrivePathOf(const PosixPlatform& platform, const std::string& path) {
  if (IsDrivePath(path)) return path;
  std::error_code error;
  const std::filesystem::path full =
      std::filesystem::weakly_canonical(std::filesystem::absolute(path, error), error);
  return error ? std::string() : platform.WindowsPathOf(full.string());
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

// The password of the run's connections: never on the command line, where every user of the
// machine could read it.
std::string ConnectionPassword() {
  const char* password = std::getenv("TARVIK_PASSWORD");
  return password == nullptr ? std::string() : password;
}

// Connects the run's letters as the window's connect command does; false, with the text of
// its error box, at the first that fails.
bool ConnectDrives(const CheckOptions& options, Platform& platform, Console& console) {
  const std::string password = ConnectionPassword();
  for (const NetworkDrive& drive : options.connections) {
    const int code = NetConnect(platform, drive.remote, password, drive.local);
    if (code != kNoError) {
      ErrorLine(console, drive.local + "=" + drive.remote + ": " + NetErrorBoxText(code));
      return false;
    }
  }
  return true;
}

// An output file given on the command line, in drive form; empty, after an error that names
// it, when no drive holds it.
std::string OutputPath(const PosixPlatform& platform, const std::string& what,
                       const std::string& path, Console& console) {
  const std::string drive_path = path.empty() ? std::string() : DrivePathOf(platform, path);
  if (drive_path.empty()) {
    ErrorLine(console, what + " '" + path + "': " + IoErrorText(kErrPathNotFound) + ".");
  }
  return drive_path;
}

// The report of the options, made before anything is read, so that a report that cannot be
// written costs no check; nothing, after an error that names the file, when that fails.
std::unique_ptr<ReportFile> MakeReport(const CheckOptions& options, Platform& platform,
                                       const std::string& report_path,
                                       const std::optional<std::string>& list_file,
                                       Console& console) {
  if (list_file && *list_file == report_path) {
    ErrorLine(console, "the list file and the report are the same file '" + *options.report + "'");
    return nullptr;
  }
  int code = kNoError;
  std::unique_ptr<ReportFile> report = ReportFile::Create(platform, report_path, code);
  if (!report) {
    ErrorLine(console, "report '" + *options.report + "': " + IoErrorText(code) + ".");
  }
  return report;
}

// The run's end after a check that ran to its end: says which output file misses lines, and
// why. True when one does.
bool ReportLostLines(const CheckOptions& options, int list_lost, const ReportFile* report,
                     Console& console) {
  const int report_lost = report != nullptr ? report->LostRows() : kNoError;
  if (list_lost != kNoError) {
    ErrorLine(console, "list file '" + *options.list_file +
                           "' is incomplete: " + IoErrorText(list_lost) + ".");
  }
  if (report_lost != kNoError) {
    ErrorLine(console,
              "report '" + *options.report + "' is incomplete: " + IoErrorText(report_lost) + ".");
  }
  return list_lost != kNoError || report_lost != kNoError;
}

// Everything from the drive table to the summary; an IoError that ends the command ends it.
int Run(const CheckOptions& options, Console& console) {
  PosixPlatform local;
  // Letters connected to shares are drives of the run, as they are of the window.
  SmbPlatform platform(local);
  std::optional<std::string> list_file;
  if (options.list_file) {
    list_file = OutputPath(local, "list file", *options.list_file, console);
    if (list_file->empty()) return kExitUsage;
  }
  std::unique_ptr<ReportFile> report;
  std::string report_path;
  if (options.report) {
    report_path = OutputPath(local, "report", *options.report, console);
    if (report_path.empty()) return kExitUsage;
    report = MakeReport(options, platform, report_path, list_file, console);
    if (!report) return kExitUsage;
  }
  if (!ConnectDrives(options, platform, console)) return kExitError;
  const std::string directory = DrivePathOf(local, options.path);
  const int code = directory.empty() ? kErrPathNotFound : platform.SetCurrentDirectory(directory);
  if (code != kNoError) {
    ErrorLine(console, options.path + ": " + IoErrorText(code) + ".");
    return kExitError;
  }

  ConsoleDialogs dialogs(console, list_file);
  TApplication application(platform, dialogs);
  TForm1& form = application.Form1;
  ApplyOptions(options, form);
  ReadSpeed& speed = form.Scan.Speed;
  if (report != nullptr) {
    speed.OnFileEnd = [&report](const FileSpeed& file) { report->AddFile(file); };
    form.Scan.WrittenFile = report_path;
  }

  Memo& problems = application.ListError.Memo1;
  int echoed = 0;
  problems.StateChanged.Subscribe([&] {
    echoed = std::min(echoed, problems.Count());
    for (; echoed < problems.Count(); ++echoed) console.ProblemLine(problems.Lines()[echoed]);
  });
  bool interrupted = false;
  dialogs.SetPump([&] {
    if (InterruptRequested() && form.N6.Enabled()) {
      form.N6.Click();
      interrupted = true;
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
      ErrorLine(console, "list file '" + *options.list_file + "': " + error.what() + ".");
      return kExitUsage;
    }
    list_lost = error.code();
  }

  console.SummaryLine(form.GroupBox3.Caption() + form.Label8.Caption() + form.Edit1.Text() + ", " +
                      form.Edit2.Text() + " " + form.Label9.Caption());
  console.SummaryLine(form.Label7.Caption() + form.EditSec1.Text());
  const TDlgInfo& info = application.DlgInfo;
  // Without the info window, the check had nothing to check and said so in a box.
  console.SummaryLine(info.Visible() ? info.Caption() : dialogs.LastInformation());
  const bool incomplete = ReportLostLines(options, list_lost, report.get(), console);
  if (interrupted) return InterruptedStatus();
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
    return InterruptRequested() ? InterruptedStatus() : kExitError;
  }
}

}  // namespace tarvik
