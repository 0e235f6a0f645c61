#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "scan/ReadSpeed.h"

struct sqlite3;

namespace tarvik {

class Statement;

// How opening the history went, for the one sentence the user is told.
enum class HistoryOpening {
  kOpened,
  // Another instance held it past the wait: the check is not recorded.
  kLocked,
  // It was not a database or failed its check: moved aside, a new one made.
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

// What a check said of one file.
struct FileRecord {
  std::int64_t size = -1;
  std::optional<std::int64_t> modified;
  std::string sha256;  // raw bytes, empty for none
  std::string outcome;
  double seconds = 0;
};

// What a check said of some of its files, with their paths, in the order of the paths.
using FileRecords = std::vector<std::pair<std::string, FileRecord>>;

// A file's row as a check writes it.
struct FileRow {
  std::string path;  // relative to the volume's root
  std::int64_t size;
  std::optional<std::int64_t> modified;
  std::optional<Digest> fingerprint;
  FileOutcome outcome;
  std::uint32_t milliseconds;
};

// The history database: volumes, their checks with their speed samples, and every file each
// check read. SQLite in WAL mode, so that a process killed mid-check leaves it consistent; the
// rows of a check are written in transactions of about a second (Commit).
class HistoryStore {
 public:
  // Opens or makes the database at `path`, with its folder. A damaged one is moved aside as
  // `path`.damaged-<date>, which `detail` then names; for kFailed it holds the reason.
  static std::unique_ptr<HistoryStore> Open(const std::string& path, HistoryOpening& opening,
                                            std::string& detail);
  ~HistoryStore();
  HistoryStore(const HistoryStore&) = delete;
  HistoryStore& operator=(const HistoryStore&) = delete;

  // Each write returns false on failure (full disk, read-only file, locked past the wait).
  // Adds an unfinished check and commits it, so that it stays even if the process is killed.
  bool BeginCheck(const CheckStart& start, std::int64_t& check_id);
  // Writes `count` rows of check `check_id` into the open transaction, kBatchFiles at a time
  // by one statement (EndCheck's speed samples too).
  static constexpr std::size_t kBatchFiles = 64;
  bool AddFiles(std::int64_t check_id, const FileRow* rows, std::size_t count);
  // Commits the rows added since the last commit and begins the next transaction.
  bool Commit();
  bool EndCheck(std::int64_t check_id, const CheckSummary& summary,
                const std::vector<SpeedSample>& samples);

  // The last finished check of the volume other than `check_id`, and whether it started in
  // the same directory with the same mode as `start`.
  struct LastCheck {
    std::int64_t id;
    bool same_scope;
  };
  std::optional<LastCheck> LastFinishedCheck(const CheckStart& start, std::int64_t check_id);
  // What check `check_id` said of its files from path `from` on (past it when `after`), at
  // most `limit` of them; false when the database could not be read.
  bool FilesFrom(std::int64_t check_id, const std::string& from, bool after, std::size_t limit,
                 FileRecords& found);
  // Files check `check_id` read below `directory` (relative, "" for all); -1 when the database
  // could not be read.
  std::int64_t FilesBelow(std::int64_t check_id, const std::string& directory);
  // The checks of the volume, newest first.
  std::vector<CheckSummary> ChecksOf(const std::string& volume_key);
  std::vector<SpeedSample> SamplesOf(std::int64_t check_id);
  // Removes the volume with all its checks; the number of checks removed, -1 on failure.
  std::int64_t ForgetVolume(const std::string& volume_key);
  // Takes the content last seen of each changed file of the volume below `directory` (relative,
  // "" for all) as its known-good content; the number of files accepted, -1 on failure.
  std::int64_t AcceptChanges(const std::string& volume_key, const std::string& directory);
  // The text of the last error, for the user.
  std::string LastError() const;
  // The last error was another instance holding the database past the wait.
  bool Busy() const;

 private:
  explicit HistoryStore(sqlite3* db);
  bool Execute(const char* sql);
  // Undoes the open transaction after a failure, keeping the failure's text, which the
  // ROLLBACK itself would replace by SQLite's "not an error".
  void RollBack();
  // Binds the file's row to the seven parameters of `insert` from `first`.
  static void BindFile(Statement& insert, int first, std::int64_t check_id, const FileRow& row);

  sqlite3* db_;
  std::string rolled_back_error_;
  std::unique_ptr<Statement> insert_file_;
  std::unique_ptr<Statement> insert_batch_;
  // FilesFrom's query from a path on, and past it.
  std::unique_ptr<Statement> select_files_[2];
};

}  // namespace tarvik
