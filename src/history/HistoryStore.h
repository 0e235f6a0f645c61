#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "history/KnownFile.h"
#include "scan/ReadSpeed.h"

struct sqlite3;

namespace tarvik {

class Statement;

// How opening the history went, for the one sentence the user is told.
enum class HistoryOpening {
  kOpened,
  // Another instance held it past the wait: the check is not recorded.
  kLocked,
  // It was not a database: moved aside, a new one made.
  kDamaged,
  // It cannot be made or opened (a read-only home): the check is not recorded.
  kFailed,
};

// How a check was started.
struct CheckStart {
  std::string volume_key;
  std::int64_t started = 0;  // seconds since 1970
  int block_size = 0;
  std::string mode;             // "subdirectories", "directory" or "file"
  std::string start_directory;  // relative to the volume's root, "" for the root
};

// One check as the history lists it.
struct CheckSummary {
  std::int64_t id = 0;
  std::int64_t started = 0;
  std::string start_directory;
  std::int64_t files = 0;
  std::int64_t bytes = 0;
  std::int64_t problems = 0;
  double seconds = 0;
  std::int64_t changed = 0;
  std::int64_t gone = 0;
  std::int64_t new_files = 0;
  bool finished = false;
};

// The history database. Per volume, one row for each file with the last state a check read
// without a problem (its known-good state, KnownFile); per check its totals, its speed curve
// (kept for the volume's last kKeptCurves checks) and only what differed from the known-good
// states: problems, silent changes, files new and gone. Rollback journal, so that nothing of it
// is a memory map a full disk can fail to fill; the rows of a check are written in
// transactions of about a second (Commit), so that a process killed mid-check leaves it
// consistent.
class HistoryStore {
 public:
  static constexpr int kKeptCurves = 20;

  // Opens or makes the database at `path`, with its folder, and takes over one written by an
  // earlier version. A file that is no database is moved aside as `path`.damaged-<date>,
  // which `detail` then names; for kFailed it holds the reason.
  static std::unique_ptr<HistoryStore> Open(const std::string& path, HistoryOpening& opening,
                                            std::string& detail);
  // Opens the database at `path` only to read it, as it stands on disk, without taking or
  // honouring a lock: for a comparison while another process holds it. Rows a writer left
  // half-written fail their check values; null when it cannot be read.
  static std::unique_ptr<HistoryStore> OpenSnapshot(const std::string& path);
  ~HistoryStore();
  HistoryStore(const HistoryStore&) = delete;
  HistoryStore& operator=(const HistoryStore&) = delete;

  // Each write returns false on failure (full disk, read-only file, locked past the wait).
  // Adds the volume if new and an unfinished check, and commits them, so that the check stays
  // even if the process is killed.
  bool BeginCheck(const CheckStart& start, std::int64_t& volume_id, std::int64_t& check_id);
  // The volume's id without adding it: 0 for a volume never recorded, -1 when the database
  // could not be read.
  std::int64_t VolumeId(const std::string& volume_key);
  // Writes `count` rows into the open transaction, kBatchFiles known rows at a time by one
  // statement (EndCheck's speed samples too).
  static constexpr std::size_t kBatchFiles = 64;
  bool AddFiles(std::int64_t volume_id, std::int64_t check_id, const FileRow* rows,
                std::size_t count);
  // Commits the rows added since the last commit and begins the next transaction.
  bool Commit();
  // Marks the check ended with its totals and speed samples, and drops the speed samples of
  // the volume's checks before its last kKeptCurves.
  bool EndCheck(std::int64_t check_id, const CheckSummary& summary,
                const std::vector<SpeedSample>& samples);

  // The known-good rows of the volume from path `from` on (past it when `after`), at most
  // `limit` of them; false when the database could not be read.
  bool KnownFrom(std::int64_t volume_id, const std::string& from, bool after, std::size_t limit,
                 KnownFiles& found);
  // Whether the volume has known-good rows, -1 when the database could not be read.
  int HasKnownFiles(std::int64_t volume_id);
  // The known rows below `directory` (relative, "" for all; only those directly in it unless
  // `subfolders`) that check `check_id` did not meet; false when the database could not be read.
  bool NotMet(std::int64_t volume_id, std::int64_t check_id, const std::string& directory,
              bool subfolders, KnownFiles& found);
  // Removes the known rows of `paths` and keeps them as gone in check `check_id`.
  bool RecordGone(std::int64_t volume_id, std::int64_t check_id,
                  const std::vector<std::string>& paths);

  // The checks of the volume, newest first.
  std::vector<CheckSummary> ChecksOf(const std::string& volume_key);
  std::vector<SpeedSample> SamplesOf(std::int64_t check_id);
  // Removes the volume with all its checks and rows; the number of checks removed, -1 on
  // failure.
  std::int64_t ForgetVolume(const std::string& volume_key);
  // Takes the content last seen of each changed file of the volume below `directory` (relative,
  // "" for all) as its known-good content; the number of files accepted, -1 on failure.
  std::int64_t AcceptChanges(const std::string& volume_key, const std::string& directory);
  // Reads the whole database: SQLite's integrity check, then every known row against its check
  // value. The paths (with the volume's key) of the rows that fail it, in `damaged`; SQLite's
  // complaints in `problems`. False when it could not be read to the end.
  bool Verify(std::vector<std::string>& damaged, std::vector<std::string>& problems);

  // The text of the last error, for the user.
  std::string LastError() const;
  // The last error was another process holding the database past the wait.
  bool Busy() const;
  // The last error was a damaged database (a page that is not what SQLite wrote).
  bool Corrupt() const;
  // Renames the database at `path` to `path`.damaged-<local date and time>, with its journal
  // beside it; the new name, or "" with `error` set when it could not be renamed.
  static std::string MoveAside(const std::string& path, std::string& error);

 private:
  explicit HistoryStore(sqlite3* db);
  bool Execute(const char* sql);
  // Makes the tables, or brings those of an earlier version up to date.
  bool PrepareSchema();
  // Prepares KnownFrom's queries.
  void PrepareReads();
  // Fills known_files and check_files from the per-check file rows of the first version.
  bool TakeOverFirstVersion();
  // Undoes the open transaction after a failure, keeping the failure's text, which the
  // ROLLBACK itself would replace by SQLite's "not an error".
  void RollBack();
  // Runs `statements` (each binding the volume's key as ?1) in one transaction; the changes
  // of the statement `counted`, -1 on failure.
  std::int64_t ChangeVolume(const std::vector<std::string>& statements, std::size_t counted,
                            const std::string& volume_key);

  sqlite3* db_;
  std::string rolled_back_error_;
  std::unique_ptr<Statement> insert_known_;
  std::unique_ptr<Statement> insert_known_batch_;
  std::unique_ptr<Statement> insert_difference_;
  // KnownFrom's query from a path on, and past it.
  std::unique_ptr<Statement> select_known_[2];
};

}  // namespace tarvik
