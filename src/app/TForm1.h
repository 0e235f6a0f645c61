#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/THistoryWindow.h"
#include "browse/DirectoryListBox.h"
#include "browse/DriveComboBox.h"
#include "browse/FileListBox.h"
#include "browse/ListingCache.h"
#include "history/CheckRecorder.h"
#include "history/HistoryStore.h"
#include "net/TDlgNetConnect.h"
#include "platform/Platform.h"
#include "scan/ExpectedSums.h"
#include "scan/ListFile.h"
#include "scan/ScanEngine.h"
#include "scan/ScanState.h"
#include "scan/SubdirectoryWalk.h"
#include "scan/TDlgInfo.h"
#include "scan/TListError.h"
#include "scan/TSpeedWindow.h"
#include "ui/Button.h"
#include "ui/CheckBox.h"
#include "ui/ComboBox.h"
#include "ui/Dialogs.h"
#include "ui/Edit.h"
#include "ui/Label.h"
#include "ui/MenuItem.h"
#include "ui/PercentBar.h"
#include "ui/Window.h"

namespace tarvik {

// A framed group of controls; only its caption is state.
using GroupBox = Label;

// The other windows the main window's handlers show and hide. They are created after the main
// window, so the main window keeps only references to them.
struct SecondaryWindows {
  Window& AboutBox;
  TListError& ListError;
  TDlgInfo& DlgInfo;
  TDlgNetConnect& DlgNetConnect;
};

// The main window: the drive, directory and file lists, the filter and option controls, the
// status fields, the three percentage bars and the menus, with the handlers that keep the
// fields current while the user browses.
class TForm1 : public Window {
 public:
  // Builds the controls with their design state, links the lists, wires the events and runs
  // FormCreate.
  TForm1(Platform& platform, Dialogs& dialogs, SecondaryWindows windows);

  // The status line's text while no check verifies against a checksum file.
  static constexpr const char* kStatusHint = "Правая кнопка мыши - меню";

  // Shows the window maximised; the visible lists create their windows, the file list reads.
  void ShowMaximised();

  // Top band.
  GroupBox GroupBox4;
  DriveComboBox DriveComboBox1;
  Label Label1;
  Edit EditCurDir;
  Label Label3;
  Edit EditCountDir;
  DirectoryListBox DirectoryListBox1;
  FileListBox FileListBox2;

  // Settings band.
  GroupBox GroupBox1;
  GroupBox GroupBox2;
  CheckBox CheckBox1;
  CheckBox CheckBox2;
  CheckBox CheckBox3;
  CheckBox CheckBox4;
  CheckBox CheckBox5;
  Label Label2;
  Edit EditMask;
  GroupBox GroupBox5;
  Button BitBtn1;
  PercentBar Gauge1;
  CheckBox CheckBoxMode;
  CheckBox CheckBox6;
  Label Label10;
  ComboBox CBSizeBlock;
  Label Label7;
  Edit EditSec1;
  Label Label4;
  Edit EditCountFile;

  // File list and status band.
  FileListBox FileListBox1;
  Edit EditCurFile;
  Label Label5;
  Edit EditSize;
  Edit EditSec;
  Label Label6;
  PercentBar Gauge2;
  GroupBox GroupBox3;
  Label Label8;
  Edit Edit1;
  Edit Edit2;
  Label Label9;
  PercentBar Gauge3;
  Label LabelDiskSize;
  Label Label11;

  // Main menu.
  MenuItem MainMenu1;
  MenuItem N1;
  MenuItem N2;
  MenuItem N8;
  MenuItem N5;
  MenuItem N6;
  MenuItem N7;
  MenuItem N14;
  MenuItem N15;
  MenuItem N16;
  MenuItem N17;
  MenuItem N18;
  // Context menu of the window.
  MenuItem PopupMenu1;
  MenuItem N3;
  MenuItem N4;
  MenuItem N11;
  MenuItem N12;
  MenuItem N13;
  // Context menu of the drive list.
  MenuItem PopupMenu2;
  MenuItem N9;
  MenuItem N10;

  // The save dialog of the found-files list file.
  SaveDialog SD1;
  // The save dialog of the fingerprints and the dialog that picks a checksum file.
  SaveDialog SD2;
  SaveDialog OD1;
  // The directory of the program's own file, with its trailing backslash.
  std::string ProgramDir;
  // The found-files list file; kept across checks.
  std::string ListFileName;
  // What the check commands share while they run.
  ScanState Scan;
  // The read-speed graph of the check commands.
  TSpeedWindow SpeedWindow;
  // The checks of the current drive's volume.
  THistoryWindow HistoryWindow;
  // The checksum file the user chose for the check commands to verify against, until cleared
  // (or the command line's files); without one, a check verifies against every checksum file its
  // start directory holds, if FindChecksumFile.
  std::vector<ExpectedSums> Checksums;
  bool FindChecksumFile = true;

  // What the volume's history said during the last check command or look at it.
  struct HistoryNews {
    HistoryOpening opening = HistoryOpening::kOpened;
    std::string moved_to;
    // Why the check is not recorded (or the look could not be made); empty when it is.
    std::string not_recorded;
    // Why the files could not be compared with the history, or not all of them.
    std::string not_compared;
    // The history is on but has no place: no home folder to keep it in.
    bool no_place = false;
    // The files were compared with known rows; what the check found against them (gone: -1
    // when not counted).
    bool compared = false;
    std::int64_t gone = -1;
    std::int64_t new_files = 0;
    std::int64_t changed = 0;
    // Known rows that failed their check values: the first of them and their number.
    std::vector<std::string> damaged_rows;
    std::int64_t damaged_count = 0;
  };
  // The check commands record into the history at `path` while N17 is checked; an empty path
  // records nowhere.
  void UseHistory(std::string path) { history_path_ = std::move(path); }
  // Fingerprints are computed also while N17 is off.
  bool SumsWanted = false;
  const HistoryNews& LastHistoryNews() const { return history_news_; }
  // The current drive's volume with its checks, newest first.
  VolumeChecks VolumeHistory();
  // Removes the checks of the current drive's volume from the history; their number, -1 when
  // the history cannot be changed.
  std::int64_t ForgetVolumeHistory();
  // Accepts the changes the history holds against the current drive's files below `below` (drive
  // form: a folder ending in a backslash, or one file; "" for the whole volume): the content
  // last seen is their known-good content. The number of files accepted, -1 when the history
  // cannot be changed.
  std::int64_t AcceptVolumeChanges(const std::string& below = "");
  // The speed samples of a check of the history.
  std::vector<SpeedSample> CheckSamples(std::int64_t check_id);

  void FormCreate();
  bool FormCloseQuery();
  void UpdateDiskSize();
  void DriveComboBox1Change();
  void DirectoryListBox1Change();
  void DirectoryListBox1Enter();
  void DirectoryListBox1Exit();
  void FileListBox1Enter();
  void FileListBox1Exit();
  void FileListBox1Change();
  void FileListBox1Click();
  void EditCurFileChange();
  void EditMaskChange();
  void CheckBox1Click();
  void N7Click();
  void N8Click();
  void N14Click() { SpeedWindow.Show(); }
  // Saves the last check's fingerprints as a checksum file, while the folder checked is shown.
  void N15Click();
  // Chooses the checksum file to verify against, or clears the one chosen.
  void N16Click();
  // Turns the history and the fingerprints on or off.
  void N17Click() { N17.SetChecked(!N17.Checked()); }
  // Shows the checks of the current drive's volume.
  void N18Click();
  // The history window, while shown, follows the current directory to another drive.
  void EditCurDirChange();
  // Commands of the check and of the network connections.
  void BitBtn1Click();
  void N3Click();
  void N6Click();
  void N9Click();
  void N10Click();
  // Checks every file below the start directory, deepest directories first; true when no
  // problem and no error was met.
  bool WalkSubdirectories(const std::string& start_dir);
  // What the event loop waits on to learn of drives that come or go, -1 for nothing.
  int DriveWatchDescriptor() { return platform_.DriveWatchDescriptor(); }
  // The watch is ready: the drive list follows the drives that came or went, once the check
  // command in progress, if any, has ended.
  void DriveWatchReady();

 private:
  void InitTopBand();
  void InitSettingsBand();
  void InitStatusBand();
  void InitMenus();
  void WireEvents();
  class CommandInProgress;
  // Records the check command from `start_dir` ("subdirectories", "directory" or "file" in
  // `mode`) while N17 is checked and a history is set, and has the engine compare each file
  // with the volume's last check; EndRecording marks it ended, also when an error ended it.
  void BeginRecording(const std::string& start_dir, const char* mode);
  void EndRecording();
  // Puts the one sentence about a history that cannot be used in the status line.
  void SayHistoryNews();
  // Opens the history at history_path_, its news (locked, damaged, failed) in history_news_.
  std::unique_ptr<HistoryStore> OpenHistory();
  // The history for a look at it (`read_only`: one that another process holds is read as it
  // stands on disk), its news said as a check's are; null when there is none or it cannot be
  // opened.
  std::unique_ptr<HistoryStore> LookAtHistory(bool read_only = false);
  // The current drive's volume key, "" with news when it cannot be told.
  std::string CurrentVolumeKey(const std::string& directory);
  // Runs a check command unless one is in progress; the drive list follows the drives that
  // came or went meanwhile once it has ended, also when an error ended it.
  void RunCommand(void (TForm1::*command)());
  void CheckFilesCommand();
  void CheckFileCommand();
  // The controls that choose what a check command checks take no input while it runs, nor
  // does the history window's accepting of changes, which the recording would race.
  void EnableCheckInputs(bool enabled);
  // The part of the start command between its resets and its end-of-run steps; `sums_ok`
  // false when its checksum file could not be verified against.
  void RunCheckWork(const std::string& start_dir, bool sums_ok);
  // The end-of-run steps of the start command.
  void EndCheckRun();
  // Sets up the command's fingerprints and its checksum file, chosen or found in
  // `start_dir`, and says in the status line which one the command verifies against. False,
  // after a problem line that says why, when that file cannot be verified against.
  bool PrepareChecksums(const std::string& start_dir);
  struct Fingerprint {
    std::string path;
    Digest digest;
  };

  Platform& platform_;
  Dialogs& dialogs_;
  SecondaryWindows windows_;
  ListFile list_file_;
  ScanEngine engine_;
  SubdirectoryWalk walk_;
  // The three lists' entries, kept while a check command runs.
  ListingCache listings_;
  // The checksum files found in the start directory of the command running or last run.
  std::vector<ExpectedSums> found_checksums_;
  // The fingerprints of the last check command, in the order checked.
  std::vector<Fingerprint> fingerprints_;
  // Where the check commands record, empty for nowhere.
  // Not set: no history; empty: one is wanted but has no place (no home folder).
  std::optional<std::string> history_path_;
  HistoryNews history_news_;
  std::unique_ptr<HistoryStore> history_store_;
  std::optional<CheckRecorder> recorder_;
  // The drive watch was ready while a check command ran.
  bool drives_changed_ = false;
};

}  // namespace tarvik
