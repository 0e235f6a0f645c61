#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "browse/DirectoryListBox.h"
#include "browse/DriveComboBox.h"
#include "browse/FileListBox.h"
#include "digest/HashThread.h"
#include "platform/Platform.h"
#include "scan/ListFile.h"
#include "scan/ScanState.h"
#include "scan/TListError.h"
#include "ui/ComboBox.h"
#include "ui/Dialogs.h"
#include "ui/Edit.h"
#include "ui/MenuItem.h"
#include "ui/PercentBar.h"

namespace tarvik {

// The controls of the main window that the check reads and writes, handed over by the window.
struct ScanControls {
  DriveComboBox& DriveComboBox1;
  DirectoryListBox& DirectoryListBox1;
  FileListBox& FileListBox1;
  ComboBox& CBSizeBlock;
  Edit& EditCurFile;
  Edit& EditSec;
  Edit& EditSec1;
  Edit& Edit1;
  Edit& Edit2;
  PercentBar& Gauge1;
  PercentBar& Gauge2;
  PercentBar& Gauge3;
  MenuItem& N6;
  TListError& ListError;
};

// The read check of files and the pass over the listed files of the current directory.
//
// Reading is one sequential pass per file, in blocks of the block size; while digests are
// wanted, the blocks read are hashed on a helper thread as the next ones are read. The per-block
// path reads, counts, moves the file's bar and pumps messages; it formats a text only when the
// text shown changes (the file's seconds by tenths, the elapsed time by seconds).
class ScanEngine {
 public:
  // The block sizes of CBSizeBlock's items, in item order.
  static constexpr int kBlockSizes[] = {2048, 4096, 8192, 16384, 32768};

  ScanEngine(Platform& platform, Dialogs& dialogs, ScanState& state, ScanControls controls,
             ListFile& list_file);

  // Names the file in the list file, then reads it with the chosen block size. True when the
  // file was read completely; with `show_dialogs` every problem is also shown in an error box.
  bool CheckFile(bool show_dialogs, const std::string& path);
  // Reads the file at `path` block by block and reports every way in which that fails.
  bool ReadCheckFile(int block_size, bool show_dialogs, const std::string& path);

  // Checks the listed files of the current directory, from the first or from the selected one,
  // moving the list's selection and EditCurFile along. `leave_overall_gauge` leaves Gauge1 to
  // the caller. Returns the number of problem files.
  int CheckDirectoryFiles(bool start_at_first, bool leave_overall_gauge);

  // After a pass that verified against checksum files: the files they name that no check read
  // and that do not exist, and the names that reach no file, get the not-found line; those that
  // exist a line saying they were not checked (each once); a checksum file none of whose many
  // names exist gets one line saying so instead, and one with overlong lines a line for them.
  // Returns the number of lines.
  int CheckFilesNotMet();

  // Whether `path` names one of the command's own WrittenFiles, by the volume's case rule.
  bool IsWrittenFile(const std::string& path) const;

  // False when the listing of the directory fails part way, so that its list may be missing
  // files.
  bool DirectoryListed(const std::string& directory);

  // Stores the current tick in LastTick and shows the time since StartTick in EditSec1.
  void UpdateElapsedTime();
  // After each file: elapsed time, files opened, kilobytes read, the byte bar and the title.
  void ShowProgressTotals();

  // The common start of the check commands: clears the abort flag and the counters, shows them
  // as "0", puts "Проверка диска " and the drive letter into the title and starts the clock.
  void BeginCommand();
  // The block size that CBSizeBlock selects.
  int BlockSize() const;

  // At a test point of the abort protocol: when Esc was pressed, asks <question>"<name>" ?.
  // True when the level is to end: the user confirmed (the flag stays set, so the enclosing
  // levels ask in turn) or the window is closing. Cancel clears the flag and offers Esc again.
  bool AbortConfirmed(std::string_view question, const std::string& name);
  // The main window was closed during the command.
  bool Closing() const { return state_.Closing; }
  // Shows a box unless the window is closing; true when the user answered OK.
  bool Ask(MessageKind kind, const std::string& text);

  // The integer part of part / whole x 100, at most 100, and 100 for nothing to do: the
  // overall bar's position.
  static std::int64_t WholePercent(std::int64_t part, std::int64_t whole);

  // The path of the directory a pass works in: a trailing backslash, upper-cased unless the
  // volume tells cases apart.
  std::string NormalizedDirectory(const std::string& directory) const;

 private:
  // Every box the check shows: the time it is open is left out of the read speed.
  bool ShowQuestion(MessageKind kind, const std::string& text);
  // Opens, measures, reopens and reads; false on the first problem, which it has reported.
  bool ReadWholeFile(int block_size, bool show_dialogs, const std::string& path);
  // A problem line in the list and, with `show_dialogs`, in an error box.
  void ReportProblem(bool show_dialogs, const std::string& path, std::string_view suffix);
  // The digests of the file just read, once the check found no problem in it: a fingerprint
  // differing from the checksum file's is the file's problem; otherwise it is the file's.
  bool CheckDigests(bool show_dialogs, const std::string& path);
  // CheckFilesNotMet for one checksum file; `reported` holds the paths already reported.
  int ReportNotMet(const ExpectedSums& sums, std::unordered_set<std::string>& reported);
  // At the file's end, with its time stopped at `tick`: a content that changed silently since
  // the volume's last check is the file's problem. False for that.
  bool CompareWithLastCheck(bool show_dialogs, const std::string& path, std::uint32_t tick);
  // After a good read: the file's bar, its seconds and the elapsed time.
  void ShowBlockProgress(std::int64_t file_bytes, std::int64_t file_size, std::uint32_t file_start);
  // The file's seconds from `file_start` to the tick UpdateElapsedTime took last: one clock
  // read a block serves both fields.
  void ShowFileSeconds(std::uint32_t file_start);
  void SetOverallGauge(int index, int count);
  // The current drive's letter, empty for none.
  std::string DriveLetter() const;

  Platform& platform_;
  Dialogs& dialogs_;
  ScanState& state_;
  ScanControls controls_;
  ListFile& list_file_;
  // Gives the read buffers and computes the digests of the file being read.
  HashThread hashes_;
  // The digests each checksum file wants of the file being read; kept to keep its capacity.
  std::vector<const std::vector<Digest>*> expected_;
  // What EditSec and EditSec1 show, so that an unchanged value is not formatted again.
  std::int64_t shown_tenths_ = -1;
  std::int32_t shown_elapsed_ = -1;
};

}  // namespace tarvik
