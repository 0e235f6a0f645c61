#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "history/HistoryStore.h"
#include "history/HistoryThread.h"
#include "history/KnownFileWindow.h"
#include "scan/FileHistory.h"

namespace tarvik {

// Compares each file of one check with its known row in the history, whatever check wrote that
// row, and records the check: the known rows of the files it met, what differed from them, and
// its totals. The store's work runs on a HistoryThread while the check goes on; rows go in
// transactions of about a second. A history that cannot be written is still read for the
// comparison; a write or read that fails (a full disk, a damaged page) stops the recording or
// the comparison, never the check.
class CheckRecorder : public FileHistory {
 public:
  // A file of at least this size that reads at less than a third of its speed last time is
  // slower than last time.
  static constexpr std::int64_t kSlowerMinSize = std::int64_t{1} << 20;
  // Damaged rows named at most; the rest are counted.
  static constexpr std::size_t kNamedDamage = 20;

  // Adds the check as unfinished when `record`, else (or when that fails) only compares.
  // `start.start_directory` and the files' paths are in drive form ("D:\DATA\"); they are kept
  // relative to the drive's root. `window_rows`: the known rows read at a time.
  CheckRecorder(HistoryStore& store, CheckStart start, bool record = true,
                std::size_t window_rows = KnownFileWindow::kRows);

  bool Compare(FileSpeed& file) override;
  void Record(const FileSpeed& file) override;
  // Tells whether a known file that the check did not meet is gone: given its path in drive
  // form, true when nothing is there any more.
  using GoneTest = std::function<bool(const std::string& path)>;
  // Marks the check ended (`finished`: it ran to its end) with its totals and speed samples;
  // a finished check of a folder (not of one file) first keeps as gone the known files below
  // its start folder that it did not meet and `gone` says are gone.
  void End(bool finished, const std::vector<SpeedSample>& samples, const GoneTest& gone);

  // The volume had known rows to compare with: the counts below tell what changed since.
  bool Compared() const { return had_known_ && stopped_.empty(); }
  // Known files gone (-1 when not counted: a check stopped early, of one file, or unrecorded),
  // files without a known row, and files whose content changed silently.
  std::int64_t Gone() const { return gone_; }
  std::int64_t NewFiles() const { return new_files_; }
  std::int64_t Changed() const { return changed_; }
  // Why the check is not recorded ("" when it is), and why the comparison stopped part way.
  const std::string& NotRecorded() const { return not_recorded_; }
  // The check is not recorded because another process held the history past the wait.
  bool Locked() const { return locked_; }
  const std::string& Stopped() const { return stopped_; }
  // The known rows that failed their check values (not used, written anew), the first
  // kNamedDamage of them by path in drive form, and their number.
  const std::vector<std::string>& DamagedRows() const { return damaged_rows_; }
  std::int64_t DamagedCount() const { return damaged_count_; }

 private:
  // Stops the comparison and the recording with `error`, or the store's last error when empty.
  void Stop(const std::string& error);
  // The row of a file that the history did not know, or whose row is damaged.
  void Unknown(const FileSpeed& file);
  // Sets row_.known from the known row `before` for a file read without a problem; true when
  // its content changed while its size and modification time did not.
  bool Proven(FileSpeed& file, const KnownFile& before);

  HistoryStore& store_;
  CheckStart start_;
  std::string drive_;  // "D:\", the root the paths in the volume are below
  std::int64_t volume_id_ = 0;
  std::int64_t check_id_ = 0;
  bool recording_ = false;
  bool locked_ = false;
  bool had_known_ = false;
  std::string not_recorded_;
  std::string stopped_;
  std::int64_t files_ = 0;
  std::int64_t bytes_ = 0;
  std::int64_t problems_ = 0;
  std::int64_t changed_ = 0;
  std::int64_t new_files_ = 0;
  std::int64_t gone_ = -1;
  std::vector<std::string> damaged_rows_;
  std::int64_t damaged_count_ = 0;
  // The row of the file between Compare and Record; its buffers are reused.
  FileRow row_;
  // Declared before thread_, which runs their jobs and so must end first.
  std::optional<KnownFileWindow> known_;
  std::optional<HistoryThread> thread_;
};

// A path in drive form relative to its drive's root: "D:\DATA\A.BIN" gives "DATA\A.BIN".
std::string_view PathInVolume(std::string_view path);

}  // namespace tarvik
