// The check commands of the main window: the start command, the check-file command and Esc.

#include <initializer_list>

#include "app/TForm1.h"
#include "platform/IoError.h"
#include "scan/ProblemLines.h"

namespace tarvik {

namespace {

constexpr char kFinished[] = "Процесс закончен";
constexpr char kOk[] = "Ok";
constexpr char kErrors[] = "Были ошибки !!!";

}  // namespace

// Holds a check command in progress: a second start does nothing, and the controls that
// choose what is checked take no input, so that nothing moves the lists under the command but
// the command itself. Everything is given back when the command ends, also when an error ends
// it, and Esc is switched off then. The lists keep what they read for the command's length.
class TForm1::CommandInProgress {
 public:
  explicit CommandInProgress(TForm1& form) : form_(form), kept_listings_(&form.listings_) {
    form_.Scan.Running = true;
    form_.Scan.Closing = false;
    form_.EnableCheckInputs(false);
    form_.N15.SetEnabled(false);
    form_.fingerprints_.clear();
    // A medium or a server that hangs keeps the window alive; closing it gives the call up.
    form_.platform_.WaitWith([&form] {
      form.dialogs_.ProcessMessages();
      return !form.Scan.Closing;
    });
  }
  ~CommandInProgress() {
    form_.EndRecording();
    form_.platform_.WaitWith({});
    form_.EnableCheckInputs(true);
    form_.N6.SetEnabled(false);
    form_.N15.SetEnabled(!form_.fingerprints_.empty());
    form_.Scan.Checksums = {};
    form_.Scan.ListFilePath.clear();
    form_.Scan.Running = false;
  }
  CommandInProgress(const CommandInProgress&) = delete;
  CommandInProgress& operator=(const CommandInProgress&) = delete;

 private:
  TForm1& form_;
  KeptListings kept_listings_;
};

void TForm1::EnableCheckInputs(bool enabled) {
  DriveComboBox1.SetEnabled(enabled);
  DirectoryListBox1.SetEnabled(enabled);
  FileListBox1.SetEnabled(enabled);
  for (Control* input : std::initializer_list<Control*>{
           &EditMask, &CheckBox1, &CheckBox2, &CheckBox3, &CheckBox4, &CheckBox5, &CheckBoxMode,
           &CBSizeBlock, &BitBtn1, &N2, &N16, &HistoryWindow.AcceptButton}) {
    input->SetEnabled(enabled);
  }
}

void TForm1::RunCommand(void (TForm1::*command)()) {
  if (Scan.Running) return;
  try {
    (this->*command)();
  } catch (const IoError&) {
    DriveWatchReady();
    throw;
  }
  DriveWatchReady();
}

void TForm1::DriveWatchReady() {
  drives_changed_ = platform_.DrivesChanged() || drives_changed_;
  if (!drives_changed_ || Scan.Running) return;
  drives_changed_ = false;
  DriveComboBox1.Refill();
}

void TForm1::BitBtn1Click() { RunCommand(&TForm1::CheckFilesCommand); }

void TForm1::CheckFilesCommand() {
  CommandInProgress command(*this);
  windows_.DlgInfo.Hide();
  if (list_file_.OpenListFile()) Scan.ListFilePath = ListFileName;
  N6.SetEnabled(true);
  windows_.ListError.Clear();
  engine_.BeginCommand();
  const std::string start_dir = engine_.NormalizedDirectory(EditCurDir.Text());
  const bool sums_ok = PrepareChecksums(start_dir);
  BeginRecording(start_dir, CheckBoxMode.Checked() ? "subdirectories" : "directory");
  try {
    RunCheckWork(start_dir, sums_ok);
  } catch (const IoError&) {
    // A medium gone from under the walk ends it in the error box; what the list holds up to
    // there is still a whole list.
    list_file_.EndList();
    throw;
  }
  EndCheckRun();
}

void TForm1::RunCheckWork(const std::string& start_dir, bool sums_ok) {
  bool errors = false;
  if (CheckBoxMode.Checked()) {
    errors = !WalkSubdirectories(start_dir);
  } else if (FileListBox1.Count() > 0 || !engine_.DirectoryListed(FileListBox1.Directory())) {
    // Any answer but OK, closing the box too, begins with the first file. A list left empty
    // by a failed listing has nothing to begin with; the pass reports the directory.
    const bool from_selected = FileListBox1.Count() > 0 &&
                               engine_.Ask(MessageKind::kConfirmation, "Начать с текущего файла ?");
    errors = engine_.CheckDirectoryFiles(!from_selected, false) > 0;
  } else if (Scan.Checksums.empty() && sums_ok) {
    // With a checksum file, an empty directory still has the files it names to miss.
    engine_.Ask(MessageKind::kInformation, "Список файлов ПУСТ !!!");
    return;
  }
  if (engine_.CheckFilesNotMet() > 0 || !sums_ok) errors = true;
  // A window shown after the main one closed would keep the program from ending.
  if (Scan.Closing) return;
  dialogs_.MessageBeep(BeepSound::kDefault);
  windows_.DlgInfo.ShowInfo(kFinished, errors ? kErrors : kOk);
}

bool TForm1::WalkSubdirectories(const std::string& start_dir) {
  return walk_.WalkSubdirectories(start_dir);
}

void TForm1::EndCheckRun() {
  engine_.UpdateElapsedTime();
  dialogs_.ProcessMessages();
  if (windows_.ListError.Count() > 0 && !Scan.Closing) {
    windows_.ListError.Show();
  } else {
    windows_.ListError.Hide();
  }
  const int lost = list_file_.EndList();
  // After the notice, as the last word of the command; not to a user who has closed the window.
  if (lost != kNoError && !Scan.Closing) throw ListFileError(lost, true);
}

void TForm1::N3Click() { RunCommand(&TForm1::CheckFileCommand); }

void TForm1::CheckFileCommand() {
  CommandInProgress command(*this);
  windows_.DlgInfo.Hide();
  windows_.ListError.Clear();
  N6.SetEnabled(true);
  engine_.BeginCommand();
  const std::string directory = engine_.NormalizedDirectory(FileListBox1.Directory());
  const bool sums_ok = PrepareChecksums(directory);
  if (!sums_ok) windows_.ListError.Show();
  BeginRecording(directory, "file");
  Gauge1.SetPosition(0);
  const bool result = engine_.CheckFile(true, FileListBox1.SelectedPath());
  Gauge1.SetPosition(100);
  if (result && sums_ok) {
    engine_.Ask(MessageKind::kInformation, Quoted("Файл : ", EditCurFile.Text(), "  -  Ok !"));
  }
}

void TForm1::N6Click() {
  Scan.AbortFlag = true;
  N6.SetEnabled(false);
}

bool TForm1::FormCloseQuery() {
  // Closing is always allowed; a command in progress ends at its next test point.
  if (Scan.Running) {
    Scan.Closing = true;
    Scan.AbortFlag = true;
  }
  return true;
}

}  // namespace tarvik
