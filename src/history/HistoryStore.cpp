#include "history/HistoryStore.h"

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <system_error>
#include <utility>

#include "history/Sqlite.h"

namespace tarvik {

namespace {

// Another instance writing is waited for this long before the check goes on unrecorded.
constexpr int kBusyMilliseconds = 2000;

constexpr char kSchema[] = R"(
CREATE TABLE IF NOT EXISTS volumes(
  id INTEGER PRIMARY KEY,
  key TEXT NOT NULL UNIQUE);
CREATE TABLE IF NOT EXISTS checks(
  id INTEGER PRIMARY KEY,
  volume INTEGER NOT NULL REFERENCES volumes(id),
  started INTEGER NOT NULL,
  ended INTEGER,
  block_size INTEGER NOT NULL,
  mode TEXT NOT NULL,
  start_directory TEXT NOT NULL,
  files INTEGER NOT NULL DEFAULT 0,
  bytes INTEGER NOT NULL DEFAULT 0,
  problems INTEGER NOT NULL DEFAULT 0,
  seconds REAL NOT NULL DEFAULT 0,
  changed INTEGER NOT NULL DEFAULT 0,
  gone INTEGER,
  new_files INTEGER,
  finished INTEGER NOT NULL DEFAULT 0);
CREATE INDEX IF NOT EXISTS checks_of_volume ON checks(volume, id);
CREATE TABLE IF NOT EXISTS files(
  check_id INTEGER NOT NULL,
  path TEXT NOT NULL,
  size INTEGER,
  modified INTEGER,
  sha256 BLOB,
  outcome TEXT NOT NULL,
  seconds REAL NOT NULL,
  PRIMARY KEY(check_id, path)) WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS speed_samples(
  check_id INTEGER NOT NULL,
  position INTEGER NOT NULL,
  bytes INTEGER NOT NULL,
  milliseconds INTEGER NOT NULL,
  PRIMARY KEY(check_id, position)) WITHOUT ROWID;
)";

// A store is used by one thread at a time: SQLite's own locks around each call are not needed.
constexpr int kOpenFlags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;

sqlite3* OpenDatabase(const std::string& path) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db, kOpenFlags, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    return nullptr;
  }
  sqlite3_busy_timeout(db, kBusyMilliseconds);
  return db;
}

// SQLITE_OK for a database that passes its quick check, SQLITE_CORRUPT for one that fails
// it, and what stopped the check otherwise (SQLITE_NOTADB, SQLITE_BUSY).
int QuickCheck(sqlite3* db) {
  Statement check(db, "PRAGMA quick_check");
  if (!check.Valid()) return sqlite3_errcode(db);
  const int code = check.Step();
  if (code != SQLITE_ROW) return code;
  return check.Text(0) == "ok" ? SQLITE_OK : SQLITE_CORRUPT;
}

// Renames the database to `path`.damaged-<local date and time>, with its journal files beside
// it; the new name, or "" with `error` set when the database itself could not be renamed.
std::string MoveAside(const std::string& path, std::error_code& error) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  const std::string aside = path + ".damaged-" + stamp;
  std::filesystem::rename(path, aside, error);
  if (error) return "";
  for (const char* suffix : {"-wal", "-shm"}) {
    std::error_code missing_is_fine;
    std::filesystem::rename(path + suffix, aside + suffix, missing_is_fine);
  }
  return aside;
}

constexpr char kFileValues[] = "(?, ?, ?, ?, ?, ?, ?)";
constexpr int kFileColumns = 7;
constexpr char kSampleValues[] = "(?, ?, ?, ?)";
constexpr int kSampleColumns = 4;

// The statement that inserts `rows` rows of `values` into `table`.
std::string InsertRows(const char* table, const char* values, std::size_t rows) {
  std::string sql = std::string("INSERT OR REPLACE INTO ") + table + " VALUES";
  for (std::size_t i = 0; i < rows; ++i) sql += (i == 0 ? "" : ", ") + std::string(values);
  return sql;
}

// Inserts `count` rows of `columns` columns: HistoryStore::kBatchFiles at a time by `batch`,
// the rest one by one by `one`. `bind(statement, first, i)` binds row i from parameter `first`.
// False at the first failure.
template <typename BindRow>
bool InsertInBatches(Statement& batch, Statement& one, std::size_t count, int columns,
                     const BindRow& bind) {
  constexpr std::size_t kBatch = HistoryStore::kBatchFiles;
  std::size_t written = 0;
  for (; count - written >= kBatch; written += kBatch) {
    batch.Reset();
    for (std::size_t i = 0; i < kBatch; ++i) {
      bind(batch, static_cast<int>(i) * columns + 1, written + i);
    }
    if (batch.Run() != SQLITE_DONE) return false;
  }
  for (; written < count; ++written) {
    bind(one.Reset(), 1, written);
    if (one.Run() != SQLITE_DONE) return false;
  }
  return true;
}

// The file row whose size, modified, sha256, outcome and seconds are the columns from `first`.
FileRecord RecordAt(const Statement& row, int first) {
  return FileRecord{.size = row.IsNull(first) ? -1 : row.Int(first),
                    .modified = row.IsNull(first + 1)
                                    ? std::nullopt
                                    : std::optional<std::int64_t>(row.Int(first + 1)),
                    .sha256 = row.Blob(first + 2),
                    .outcome = row.Text(first + 3),
                    .seconds = row.Real(first + 4)};
}

}  // namespace

std::unique_ptr<HistoryStore> HistoryStore::Open(const std::string& path, HistoryOpening& opening,
                                                 std::string& detail) {
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
  opening = HistoryOpening::kOpened;
  sqlite3* db = OpenDatabase(path);
  if (db == nullptr) {
    opening = HistoryOpening::kFailed;
    detail = sqlite3_errstr(SQLITE_CANTOPEN);
    return nullptr;
  }
  int code = QuickCheck(db);
  if (code == SQLITE_NOTADB || code == SQLITE_CORRUPT) {
    sqlite3_close(db);
    detail = MoveAside(path, error);
    if (error) {
      // Left in place, the damaged database would be used again: nothing is recorded.
      opening = HistoryOpening::kFailed;
      detail = "damaged, and cannot be moved aside: " + error.message();
      return nullptr;
    }
    opening = HistoryOpening::kDamaged;
    db = OpenDatabase(path);
    if (db == nullptr) {
      opening = HistoryOpening::kFailed;
      detail = sqlite3_errstr(SQLITE_CANTOPEN);
      return nullptr;
    }
    code = SQLITE_OK;
  }
  std::unique_ptr<HistoryStore> store(new HistoryStore(db));
  if (code == SQLITE_OK && store->Execute("PRAGMA journal_mode=WAL") &&
      store->Execute("PRAGMA synchronous=NORMAL") && store->Execute(kSchema)) {
    store->insert_file_ = std::make_unique<Statement>(db, InsertRows("files", kFileValues, 1));
    store->insert_batch_ =
        std::make_unique<Statement>(db, InsertRows("files", kFileValues, kBatchFiles));
    constexpr char kSelectFiles[] =
        "SELECT path, size, modified, sha256, outcome, seconds FROM files "
        "WHERE check_id = ?1 AND path %s ?2 ORDER BY path LIMIT ?3";
    for (const bool after : {false, true}) {
      char sql[sizeof kSelectFiles];
      std::snprintf(sql, sizeof sql, kSelectFiles, after ? ">" : ">=");
      store->select_files_[after] = std::make_unique<Statement>(db, sql);
    }
    return store;
  }
  code = sqlite3_errcode(db);
  if (code == SQLITE_BUSY || code == SQLITE_LOCKED) {
    opening = HistoryOpening::kLocked;
  } else {
    opening = HistoryOpening::kFailed;
    detail = store->LastError();
  }
  return nullptr;
}

HistoryStore::HistoryStore(sqlite3* db) : db_(db) {}

HistoryStore::~HistoryStore() {
  insert_file_.reset();
  insert_batch_.reset();
  for (std::unique_ptr<Statement>& select : select_files_) select.reset();
  if (sqlite3_get_autocommit(db_) == 0) Execute("COMMIT");
  sqlite3_close(db_);
}

std::string HistoryStore::LastError() const {
  if (sqlite3_errcode(db_) != SQLITE_OK) return sqlite3_errmsg(db_);
  // A failure that left no code of SQLite's behind.
  return rolled_back_error_.empty() ? "the history could not be read or written"
                                    : rolled_back_error_;
}

void HistoryStore::RollBack() {
  rolled_back_error_ = sqlite3_errmsg(db_);
  Execute("ROLLBACK");
}

bool HistoryStore::Busy() const {
  const int code = sqlite3_errcode(db_);
  return code == SQLITE_BUSY || code == SQLITE_LOCKED;
}

bool HistoryStore::Execute(const char* sql) {
  return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool HistoryStore::BeginCheck(const CheckStart& start, std::int64_t& check_id) {
  if (!Execute("BEGIN IMMEDIATE")) return false;
  Statement volume(db_, "INSERT OR IGNORE INTO volumes(key) VALUES(?1)");
  Statement check(db_,
                  "INSERT INTO checks(volume, started, block_size, mode, start_directory) "
                  "SELECT id, ?2, ?3, ?4, ?5 FROM volumes WHERE key = ?1");
  const bool added = volume.Bind(1, start.volume_key).Run() == SQLITE_DONE &&
                     check.Bind(1, start.volume_key)
                             .Bind(2, start.started)
                             .Bind(3, std::int64_t{start.block_size})
                             .Bind(4, start.mode)
                             .Bind(5, start.start_directory)
                             .Run() == SQLITE_DONE;
  check_id = sqlite3_last_insert_rowid(db_);
  if (!added) {
    RollBack();
    return false;
  }
  return Execute("COMMIT") && Execute("BEGIN");
}

bool HistoryStore::AddFiles(std::int64_t check_id, const FileRow* rows, std::size_t count) {
  return InsertInBatches(*insert_batch_, *insert_file_, count, kFileColumns,
                         [&](Statement& insert, int first, std::size_t i) {
                           BindFile(insert, first, check_id, rows[i]);
                         });
}

void HistoryStore::BindFile(Statement& insert, int first, std::int64_t check_id,
                            const FileRow& row) {
  insert.Bind(first, check_id).Bind(first + 1, row.path).Bind(first + 2, row.size);
  insert.Bind(first + 3, row.modified);
  if (row.fingerprint) {
    insert.BindBlob(first + 4,
                    std::string_view(reinterpret_cast<const char*>(row.fingerprint->bytes.data()),
                                     row.fingerprint->bytes.size()));
  }
  insert.Bind(first + 5, FileOutcomeName(row.outcome)).Bind(first + 6, row.milliseconds / 1000.0);
}

bool HistoryStore::Commit() { return Execute("COMMIT") && Execute("BEGIN"); }

bool HistoryStore::EndCheck(std::int64_t check_id, const CheckSummary& summary,
                            const std::vector<SpeedSample>& samples) {
  Statement batch(db_, InsertRows("speed_samples", kSampleValues, kBatchFiles));
  Statement one(db_, InsertRows("speed_samples", kSampleValues, 1));
  if (!InsertInBatches(batch, one, samples.size(), kSampleColumns,
                       [&](Statement& insert, int first, std::size_t i) {
                         insert.Bind(first, check_id)
                             .Bind(first + 1, static_cast<std::int64_t>(i))
                             .Bind(first + 2, samples[i].bytes)
                             .Bind(first + 3, std::int64_t{samples[i].milliseconds});
                       })) {
    return false;
  }
  Statement end(db_,
                "UPDATE checks SET ended = ?2, files = ?3, bytes = ?4, problems = ?5, "
                "seconds = ?6, changed = ?7, gone = ?8, new_files = ?9, finished = ?10 "
                "WHERE id = ?1");
  const auto known = [](std::int64_t count) {
    return count < 0 ? std::nullopt : std::optional<std::int64_t>(count);
  };
  return end.Bind(1, check_id)
                 .Bind(2, static_cast<std::int64_t>(std::time(nullptr)))
                 .Bind(3, summary.files)
                 .Bind(4, summary.bytes)
                 .Bind(5, summary.problems)
                 .Bind(6, summary.seconds)
                 .Bind(7, summary.changed)
                 .Bind(8, known(summary.gone))
                 .Bind(9, known(summary.new_files))
                 .Bind(10, std::int64_t{summary.finished})
                 .Run() == SQLITE_DONE &&
         Execute("COMMIT");
}

std::optional<HistoryStore::LastCheck> HistoryStore::LastFinishedCheck(const CheckStart& start,
                                                                       std::int64_t check_id) {
  Statement last(db_,
                 "SELECT c.id, c.start_directory = ?3 AND c.mode = ?4 "
                 "FROM checks c JOIN volumes v ON v.id = c.volume "
                 "WHERE v.key = ?1 AND c.finished = 1 AND c.id <> ?2 ORDER BY c.id DESC LIMIT 1");
  last.Bind(1, start.volume_key).Bind(2, check_id).Bind(3, start.start_directory);
  if (last.Bind(4, start.mode).Step() != SQLITE_ROW) return std::nullopt;
  return LastCheck{last.Int(0), last.Int(1) != 0};
}

bool HistoryStore::FilesFrom(std::int64_t check_id, const std::string& from, bool after,
                             std::size_t limit, FileRecords& found) {
  found.clear();
  Statement& select = select_files_[after]->Reset();
  select.Bind(1, check_id).Bind(2, from).Bind(3, static_cast<std::int64_t>(limit));
  int code;
  while ((code = select.Step()) == SQLITE_ROW) {
    found.emplace_back(select.Text(0), RecordAt(select, 1));
  }
  select.Reset();
  return code == SQLITE_DONE;
}

std::int64_t HistoryStore::FilesBelow(std::int64_t check_id, const std::string& directory) {
  Statement below(db_,
                  "SELECT count(*) FROM files WHERE check_id = ?1 AND path >= ?2 "
                  "AND substr(path, 1, length(?2)) = ?2");
  if (below.Bind(1, check_id).Bind(2, directory).Step() != SQLITE_ROW) return -1;
  return below.Int(0);
}

std::vector<CheckSummary> HistoryStore::ChecksOf(const std::string& volume_key) {
  Statement checks(db_,
                   "SELECT c.id, started, start_directory, files, bytes, problems, seconds, "
                   "changed, ifnull(gone, -1), ifnull(new_files, -1), finished "
                   "FROM checks c JOIN volumes v ON v.id = c.volume WHERE v.key = ?1 "
                   "ORDER BY c.id DESC");
  checks.Bind(1, volume_key);
  std::vector<CheckSummary> found;
  while (checks.Step() == SQLITE_ROW) {
    found.push_back({.id = checks.Int(0),
                     .started = checks.Int(1),
                     .start_directory = checks.Text(2),
                     .files = checks.Int(3),
                     .bytes = checks.Int(4),
                     .problems = checks.Int(5),
                     .seconds = checks.Real(6),
                     .changed = checks.Int(7),
                     .gone = checks.Int(8),
                     .new_files = checks.Int(9),
                     .finished = checks.Int(10) != 0});
  }
  return found;
}

std::vector<SpeedSample> HistoryStore::SamplesOf(std::int64_t check_id) {
  Statement samples(db_,
                    "SELECT bytes, milliseconds FROM speed_samples WHERE check_id = ?1 "
                    "ORDER BY position");
  samples.Bind(1, check_id);
  std::vector<SpeedSample> found;
  while (samples.Step() == SQLITE_ROW) {
    found.push_back({samples.Int(0), static_cast<std::uint32_t>(samples.Int(1)), 0});
  }
  return found;
}

std::int64_t HistoryStore::ForgetVolume(const std::string& volume_key) {
  constexpr char kChecksOfVolume[] =
      "(SELECT c.id FROM checks c JOIN volumes v ON v.id = c.volume WHERE v.key = ?1)";
  const std::string statements[] = {
      std::string("DELETE FROM files WHERE check_id IN ") + kChecksOfVolume,
      std::string("DELETE FROM speed_samples WHERE check_id IN ") + kChecksOfVolume,
      "DELETE FROM checks WHERE volume IN (SELECT id FROM volumes WHERE key = ?1)",
      "DELETE FROM volumes WHERE key = ?1"};
  if (!Execute("BEGIN IMMEDIATE")) return -1;
  std::int64_t checks = 0;
  for (const std::string& sql : statements) {
    Statement statement(db_, sql);
    if (statement.Bind(1, volume_key).Run() != SQLITE_DONE) {
      RollBack();
      return -1;
    }
    if (sql.starts_with("DELETE FROM checks")) checks = sqlite3_changes(db_);
  }
  return Execute("COMMIT") ? checks : -1;
}

std::int64_t HistoryStore::AcceptChanges(const std::string& volume_key,
                                         const std::string& directory) {
  (void)volume_key;
  (void)directory;
  return 0;
}

}  // namespace tarvik
