#include "cli/CheckRun.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <optional>

#include "app/TApplication.h"
#include "cli/ConsoleDialogs.h"
#include "cli/Interrupt.h"
#include "net/Net.h"
#include "platform/IoError.h"
#include "platform/posix/PosixPlatform.h"
#include "platform/smb/SmbPlatform.h"

namespace tarvik {

namespace {

constexpr char kProgramName[] = "tarvik-check: ";
// The info window's caption after a check that met no problem.
constexpr char kOkCaption[] = "Ok";

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
      console.Error(kProgramName + drive.local + "=" + drive.remote + ": " + NetErrorBoxText(code));
      return false;
    }
  }
  return true;
}

// Everything from the drive table to the summary; an IoError that ends the command ends it.
int Run(const CheckOptions& options, Console& console, ReportFile* report) {
  PosixPlatform local;
  // Letters connected to shares are drives of the run, as they are of the window.
  SmbPlatform platform(local);
  if (!ConnectDrives(options, platform, console)) return kExitError;
  const std::string directory = DrivePathOf(local, options.path);
  const int code = directory.empty() ? kErrPathNotFound : platform.SetCurrentDirectory(directory);
  if (code != kNoError) {
    console.Error(kProgramName + options.path + ": " + IoErrorText(code) + ".");
    return kExitError;
  }
  std::optional<std::string> list_file;
  if (options.list_file) {
    list_file = DrivePathOf(local, *options.list_file);
    if (list_file->empty()) {
      console.Error(kProgramName + *options.list_file + ": " + IoErrorText(kErrPathNotFound) + ".");
      return kExitError;
    }
  }

  ConsoleDialogs dialogs(console, list_file);
  TApplication application(platform, dialogs);
  TForm1& form = application.Form1;
  ApplyOptions(options, form);
  ReadSpeed& speed = form.Scan.Speed;
  if (report != nullptr)
    speed.OnFileEnd = [report](const FileSpeed& file) { report->AddFile(file); };

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
  form.BitBtn1Click();

  console.SummaryLine(form.GroupBox3.Caption() + form.Label8.Caption() + form.Edit1.Text() + ", " +
                      form.Edit2.Text() + " " + form.Label9.Caption());
  console.SummaryLine(form.Label7.Caption() + form.EditSec1.Text());
  const TDlgInfo& info = application.DlgInfo;
  // Without the info window, the check had nothing to check and said so in a box.
  console.SummaryLine(info.Visible() ? info.Caption() : dialogs.LastInformation());
  if (interrupted) return kExitInterrupted;
  return info.Visible() && info.Caption() != kOkCaption ? kExitProblems : kExitNoProblem;
}

}  // namespace

int RunCheck(const CheckOptions& options, Console& console, ReportFile* report) {
  CatchInterrupt();
  try {
    return Run(options, console, report);
  } catch (const IoError& error) {
    console.Error(kProgramName + std::string(error.what()) + ".");
    // A run stopped by Ctrl+C may end so when the drive it gave up on cannot be reached any
    // more (a share whose server hangs): it still ends as stopped.
    return InterruptRequested() ? kExitInterrupted : kExitError;
  }
}

}  // namespace tarvik
