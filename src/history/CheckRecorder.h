#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "history/HistoryStore.h"
#include "history/HistoryThread.h"
#include "history/LastCheckWindow.h"
#include "scan/FileHistory.h"

namespace tarvik {

// Records one check into the history and compares each of its files with the last finished
// check of the same volume. The store's work runs on a HistoryThread while the check goes on;
// rows go in transactions of about a second. A write or read that fails (a full disk, a
// read-only file) stops the recording, never the check.
class CheckRecorder : public FileHistory {
 public:
  // A file of at least this size that reads at less than a third of its speed last time is
  // slower than last time.
  static constexpr std::int64_t kSlowerMinSize = std::int64_t{1} << 20;

  // Adds the check as unfinished. `start.start_directory` and the files' paths are in drive
  // form ("D:\DATA\"); they are kept relative to the drive's root. `window_rows`: the rows of
  // the last check read at a time (LastCheckWindow).
  CheckRecorder(HistoryStore& store, CheckStart start,
                std::size_t window_rows = LastCheckWindow::kRows);

  bool Compare(FileSpeed& file) override;
  void Record(const FileSpeed& file) override;
  // Marks the check ended (`finished`: it ran to its end) with its totals and speed samples.
  void End(bool finished, const std::vector<SpeedSample>& samples);

  // Files of the last check of the same directory and mode that this one did not read, and
  // files it read that the last one did not; -1 when there was no such check.
  std::int64_t Gone() const { return gone_; }
  std::int64_t NewFiles() const { return last_ && last_->same_scope ? new_files_ : -1; }
  std::int64_t Changed() const { return changed_; }
  // Why the recording stopped, empty while it goes on.
  const std::string& Stopped() const { return stopped_; }

 private:
  // Stops the recording with `error`, or with the store's last error when it is empty.
  void Stop(const std::string& error = "");

  HistoryStore& store_;
  CheckStart start_;
  std::int64_t check_id_ = 0;
  std::optional<HistoryStore::LastCheck> last_;
  std::string stopped_;
  std::int64_t files_ = 0;
  std::int64_t bytes_ = 0;
  std::int64_t problems_ = 0;
  std::int64_t changed_ = 0;
  std::int64_t new_files_ = 0;
  // Files of the last check below the start directory (counted on the thread), and of them
  // those this one read: the rest are gone.
  std::int64_t last_files_ = -1;
  std::int64_t met_files_ = 0;
  std::int64_t gone_ = -1;
  // Declared before thread_, which runs their jobs and so must end first.
  std::optional<LastCheckWindow> last_rows_;
  std::optional<HistoryThread> thread_;
};

// A path in drive form relative to its drive's root: "D:\DATA\A.BIN" gives "DATA\A.BIN".
std::string_view PathInVolume(std::string_view path);

}  // namespace tarvik
