#include "history/HistoryStore.h"

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <system_error>
#include <tuple>
#include <utility>

#include "history/Sqlite.h"

namespace tarvik {

namespace {

// Another instance writing is waited for this long before the check goes on unrecorded.
constexpr int kBusyMilliseconds = 2000;

// The version of the tables this code writes (PRAGMA user_version); the first version's is 0.
constexpr int kSchemaVersion = 2;

constexpr char kVolumesAndChecks[] = R"(
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
CREATE TABLE IF NOT EXISTS speed_samples(
  check_id INTEGER NOT NULL,
  position INTEGER NOT NULL,
  bytes INTEGER NOT NULL,
  milliseconds INTEGER NOT NULL,
  PRIMARY KEY(check_id, position)) WITHOUT ROWID;
)";

// `seen`: the last check that met the file, left out of the check value: it only tells the
// files a check did not meet from those it did.
constexpr char kFileTables[] = R"(
CREATE TABLE known_files(
  volume INTEGER NOT NULL,
  path TEXT NOT NULL,
  size INTEGER NOT NULL,
  modified INTEGER,
  sha256 BLOB,
  seconds REAL NOT NULL,
  proven INTEGER NOT NULL,
  pending BLOB,
  problem TEXT,
  seen INTEGER NOT NULL,
  check_value INTEGER NOT NULL,
  PRIMARY KEY(volume, path)) WITHOUT ROWID;
CREATE TABLE check_files(
  check_id INTEGER NOT NULL,
  path TEXT NOT NULL,
  outcome TEXT NOT NULL,
  size INTEGER,
  modified INTEGER,
  sha256 BLOB,
  seconds REAL,
  PRIMARY KEY(check_id, path)) WITHOUT ROWID;
)";

constexpr char kKnownColumns[] = "path, size, modified, sha256, seconds, proven, pending, problem";
constexpr char kKnownValues[] = "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";
constexpr int kKnownCount = 11;
constexpr char kSampleValues[] = "(?, ?, ?, ?)";
constexpr int kSampleColumns = 4;

// Greater than every path: no UTF-8 text holds the byte 0xF5.
constexpr char kPastEveryPath[] = "\xF5";

// A store is used by one thread at a time: SQLite's own locks around each call are not needed.
sqlite3* OpenDatabase(const std::string& name, int flags) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(name.c_str(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    return nullptr;
  }
  sqlite3_busy_timeout(db, kBusyMilliseconds);
  return db;
}

// The paths below `directory` ("" or ending in a backslash) are those from it to this.
std::string PastDirectory(const std::string& directory) {
  if (directory.empty()) return kPastEveryPath;
  std::string past = directory;
  past.back() = '\\' + 1;
  return past;
}

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

Statement& BindBytes(Statement& statement, int index, const std::string& bytes) {
  return bytes.empty() ? statement.BindNull(index) : statement.BindBlob(index, bytes);
}

Statement& BindState(Statement& statement, int first, const FileState& state) {
  statement.Bind(first, state.size).Bind(first + 1, state.modified);
  return BindBytes(statement, first + 2, state.sha256).Bind(first + 3, state.seconds);
}

// Binds a known row to the parameters of the known_files insert from `first`.
void BindKnown(Statement& insert, int first, std::int64_t volume_id, std::int64_t check_id,
               const std::string& path, const KnownFile& known) {
  insert.Bind(first, volume_id).Bind(first + 1, path);
  BindState(insert, first + 2, known.good).Bind(first + 6, known.proven);
  BindBytes(insert, first + 7, known.pending);
  if (known.problem.empty()) {
    insert.BindNull(first + 8);
  } else {
    insert.Bind(first + 8, known.problem);
  }
  insert.Bind(first + 9, check_id).Bind(first + 10, RowCheckValue(volume_id, path, known));
}

// The known row of kKnownColumns from column `first`, checked against the check value in the
// column after them.
KnownFile KnownAt(const Statement& row, int first, std::int64_t volume_id,
                  const std::string& path) {
  KnownFile known{.good = {.size = row.Int(first),
                           .modified = row.IsNull(first + 1)
                                           ? std::nullopt
                                           : std::optional<std::int64_t>(row.Int(first + 1)),
                           .sha256 = row.Blob(first + 2),
                           .seconds = row.Real(first + 3)},
                  .proven = row.Int(first + 4),
                  .pending = row.Blob(first + 5),
                  .problem = row.Text(first + 6),
                  .intact = true};
  known.intact = row.Int(first + 7) == RowCheckValue(volume_id, path, known);
  return known;
}

// A volume key without its source, as the first version wrote the same volume's key with the
// modification time of its root in its place; "" for a key of a file-system UUID or a share.
std::string FirstVersionPrefix(const std::string& key) {
  const std::size_t source = key.rfind("\nSOURCE=");
  return key.starts_with("TYPE=") && source != std::string::npos ? key.substr(0, source + 1) +
                                                                       "ROOT="
                                                                 : "";
}

}  // namespace

std::unique_ptr<HistoryStore> HistoryStore::Open(const std::string& path, HistoryOpening& opening,
                                                 std::string& detail) {
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
  opening = HistoryOpening::kOpened;
  for (int attempt = 0; attempt < 2; ++attempt) {
    sqlite3* db = OpenDatabase(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    if (db == nullptr) {
      opening = HistoryOpening::kFailed;
      detail = sqlite3_errstr(SQLITE_CANTOPEN);
      return nullptr;
    }
    std::unique_ptr<HistoryStore> store(new HistoryStore(db));
    if (store->PrepareSchema()) return store;
    if (store->Busy()) {
      opening = HistoryOpening::kLocked;
      return nullptr;
    }
    if (sqlite3_errcode(db) != SQLITE_NOTADB || attempt > 0) {
      opening = HistoryOpening::kFailed;
      detail = store->LastError();
      return nullptr;
    }
    store.reset();
    std::string move_error;
    detail = MoveAside(path, move_error);
    if (detail.empty()) {
      // Left in place, the damaged database would be used again: nothing is recorded.
      opening = HistoryOpening::kFailed;
      detail = "damaged, and cannot be moved aside: " + move_error;
      return nullptr;
    }
    opening = HistoryOpening::kDamaged;
  }
  return nullptr;
}

std::unique_ptr<HistoryStore> HistoryStore::OpenSnapshot(const std::string& path) {
  std::string uri = "file:";
  for (const char ch : path) {
    // The characters a URI's path gives a meaning of their own.
    if (ch == '?' || ch == '#' || ch == '%') {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X", static_cast<unsigned char>(ch));
      uri += escaped;
    } else {
      uri += ch;
    }
  }
  sqlite3* db = OpenDatabase(uri + "?immutable=1", SQLITE_OPEN_READONLY | SQLITE_OPEN_URI);
  if (db == nullptr) return nullptr;
  std::unique_ptr<HistoryStore> store(new HistoryStore(db));
  Statement version(db, "PRAGMA user_version");
  if (version.Step() != SQLITE_ROW || version.Int(0) != kSchemaVersion) return nullptr;
  store->PrepareReads();
  return store;
}

bool HistoryStore::PrepareSchema() {
  Statement version(db_, "PRAGMA user_version");
  if (version.Step() != SQLITE_ROW) return false;
  const std::int64_t found = version.Int(0);
  version.Reset();
  if (found > kSchemaVersion) {
    rolled_back_error_ = "written by a newer version of the program";
    return false;
  }
  Statement journal(db_, "PRAGMA journal_mode");
  if (journal.Step() != SQLITE_ROW) return false;
  // A WAL index is a memory map of a file, which a full disk can fail to fill (SIGBUS): the
  // first version's journal goes back to a rollback journal.
  const bool wal = journal.Text(0) == "wal";
  journal.Reset();
  if (wal && !Execute("PRAGMA journal_mode=DELETE")) return false;
  if (!Execute("PRAGMA synchronous=NORMAL")) return false;
  if (found < kSchemaVersion) {
    if (!Execute("BEGIN IMMEDIATE")) return false;
    Statement first_version(db_, "SELECT 1 FROM sqlite_schema WHERE name = 'files'");
    const bool take_over = first_version.Step() == SQLITE_ROW;
    first_version.Reset();
    bool made = Execute(kVolumesAndChecks) && Execute(kFileTables);
    if (made) {
      insert_known_ =
          std::make_unique<Statement>(db_, InsertRows("known_files", kKnownValues, 1));
    }
    made = made && (!take_over || TakeOverFirstVersion()) &&
                      Execute("PRAGMA user_version = 2") && Execute("COMMIT");
    if (!made) {
      RollBack();
      return false;
    }
  }
  insert_known_ = std::make_unique<Statement>(db_, InsertRows("known_files", kKnownValues, 1));
  insert_known_batch_ =
      std::make_unique<Statement>(db_, InsertRows("known_files", kKnownValues, kBatchFiles));
  insert_difference_ = std::make_unique<Statement>(
      db_, "INSERT OR REPLACE INTO check_files VALUES(?, ?, ?, ?, ?, ?, ?)");
  PrepareReads();
  return true;
}

bool HistoryStore::TakeOverFirstVersion() {
  // Each file's last state read without a problem, whatever check read it; the first version
  // kept the content a silent change left as the file's state.
  Statement good(db_,
                 "SELECT c.volume, f.path, f.size, f.modified, f.sha256, f.seconds, c.started, "
                 "f.check_id FROM files f JOIN checks c ON c.id = f.check_id "
                 "WHERE c.finished = 1 AND f.size IS NOT NULL AND f.outcome IN ('ok', 'changed') "
                 "ORDER BY f.check_id");
  int code;
  while ((code = good.Step()) == SQLITE_ROW) {
    const KnownFile known{.good = {.size = good.Int(2),
                                   .modified = good.IsNull(3)
                                                   ? std::nullopt
                                                   : std::optional<std::int64_t>(good.Int(3)),
                                   .sha256 = good.Blob(4),
                                   .seconds = good.Real(5)},
                          .proven = good.Int(6),
                          .pending = {},
                          .problem = {},
                          .intact = true};
    BindKnown(insert_known_->Reset(), 1, good.Int(0), good.Int(7), good.Text(1), known);
    if (insert_known_->Run() != SQLITE_DONE) return false;
  }
  return code == SQLITE_DONE &&
         Execute("INSERT INTO check_files SELECT check_id, path, outcome, size, modified, sha256, "
                 "seconds FROM files WHERE outcome <> 'ok'") &&
         Execute("DROP TABLE files");
}

HistoryStore::HistoryStore(sqlite3* db) : db_(db) {}

void HistoryStore::PrepareReads() {
  for (const bool after : {false, true}) {
    select_known_[after] = std::make_unique<Statement>(
        db_, std::string("SELECT ") + kKnownColumns +
                 ", check_value FROM known_files WHERE volume = ?1 AND path " +
                 (after ? ">" : ">=") + " ?2 ORDER BY path LIMIT ?3");
  }
}

HistoryStore::~HistoryStore() {
  insert_known_.reset();
  insert_known_batch_.reset();
  insert_difference_.reset();
  for (std::unique_ptr<Statement>& select : select_known_) select.reset();
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
  if (sqlite3_errcode(db_) != SQLITE_OK) rolled_back_error_ = sqlite3_errmsg(db_);
  // A full disk or an I/O error may have rolled the transaction back already, and a ROLLBACK
  // without one would put its own complaint in the failure's place.
  if (sqlite3_get_autocommit(db_) == 0) Execute("ROLLBACK");
}

bool HistoryStore::Busy() const {
  const int code = sqlite3_errcode(db_);
  return code == SQLITE_BUSY || code == SQLITE_LOCKED;
}

bool HistoryStore::Corrupt() const {
  const int code = sqlite3_errcode(db_);
  return code == SQLITE_CORRUPT || code == SQLITE_NOTADB;
}

std::string HistoryStore::MoveAside(const std::string& path, std::string& error) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  const std::string aside = path + ".damaged-" + stamp;
  std::error_code code;
  std::filesystem::rename(path, aside, code);
  if (code) {
    error = code.message();
    return "";
  }
  for (const char* suffix : {"-journal", "-wal", "-shm"}) {
    std::error_code missing_is_fine;
    std::filesystem::rename(path + suffix, aside + suffix, missing_is_fine);
  }
  return aside;
}

bool HistoryStore::Execute(const char* sql) {
  return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

std::int64_t HistoryStore::VolumeId(const std::string& volume_key) {
  Statement volume(db_, "SELECT id FROM volumes WHERE key = ?1");
  int code = volume.Bind(1, volume_key).Step();
  if (code == SQLITE_ROW) return volume.Int(0);
  const std::string prefix = FirstVersionPrefix(volume_key);
  if (code != SQLITE_DONE || prefix.empty()) return code == SQLITE_DONE ? 0 : -1;
  // The first version's key of the volume, when one volume has it.
  Statement earlier(db_,
                    "SELECT id FROM volumes WHERE substr(key, 1, length(?1)) = ?1 "
                    "AND instr(substr(key, length(?1) + 1), char(10)) = 0 LIMIT 2");
  code = earlier.Bind(1, prefix).Step();
  if (code != SQLITE_ROW) return code == SQLITE_DONE ? 0 : -1;
  const std::int64_t id = earlier.Int(0);
  code = earlier.Step();
  if (code == SQLITE_ROW) return 0;
  return code == SQLITE_DONE ? id : -1;
}

bool HistoryStore::BeginCheck(const CheckStart& start, std::int64_t& volume_id,
                              std::int64_t& check_id) {
  if (!Execute("BEGIN IMMEDIATE")) return false;
  volume_id = VolumeId(start.volume_key);
  Statement volume(db_, volume_id > 0 ? "UPDATE volumes SET key = ?1 WHERE id = ?2"
                                      : "INSERT INTO volumes(key) VALUES(?1)");
  volume.Bind(1, start.volume_key);
  if (volume_id > 0) volume.Bind(2, volume_id);
  bool added = volume_id >= 0 && volume.Run() == SQLITE_DONE;
  if (added && volume_id == 0) volume_id = sqlite3_last_insert_rowid(db_);
  Statement check(db_,
                  "INSERT INTO checks(volume, started, block_size, mode, start_directory) "
                  "VALUES(?1, ?2, ?3, ?4, ?5)");
  added = added && check.Bind(1, volume_id)
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

bool HistoryStore::AddFiles(std::int64_t volume_id, std::int64_t check_id, const FileRow* rows,
                            std::size_t count) {
  // Every file met has a known row but those new with a problem: runs of them in batches.
  for (std::size_t done = 0; done < count;) {
    if (!rows[done].keep) {
      ++done;
      continue;
    }
    std::size_t kept = 1;
    while (done + kept < count && rows[done + kept].keep) ++kept;
    if (!InsertInBatches(*insert_known_batch_, *insert_known_, kept, kKnownCount,
                         [&](Statement& insert, int first, std::size_t i) {
                           const FileRow& row = rows[done + i];
                           BindKnown(insert, first, volume_id, check_id, row.path, row.known);
                         })) {
      return false;
    }
    done += kept;
  }
  for (std::size_t i = 0; i < count; ++i) {
    const FileRow& row = rows[i];
    if (row.difference.empty()) continue;
    insert_difference_->Reset().Bind(1, check_id).Bind(2, row.path).Bind(3, row.difference);
    if (BindState(*insert_difference_, 4, row.now).Run() != SQLITE_DONE) return false;
  }
  return true;
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
  Statement old_curves(db_,
                       "DELETE FROM speed_samples WHERE check_id IN (SELECT id FROM checks "
                       "WHERE volume = (SELECT volume FROM checks WHERE id = ?1) "
                       "ORDER BY id DESC LIMIT -1 OFFSET ?2)");
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
         old_curves.Bind(1, check_id).Bind(2, std::int64_t{kKeptCurves}).Run() == SQLITE_DONE &&
         Execute("COMMIT");
}

bool HistoryStore::KnownFrom(std::int64_t volume_id, const std::string& from, bool after,
                             std::size_t limit, KnownFiles& found) {
  found.clear();
  Statement& select = select_known_[after]->Reset();
  select.Bind(1, volume_id).Bind(2, from).Bind(3, static_cast<std::int64_t>(limit));
  int code;
  while ((code = select.Step()) == SQLITE_ROW) {
    std::string path = select.Text(0);
    KnownFile known = KnownAt(select, 1, volume_id, path);
    found.emplace_back(std::move(path), std::move(known));
  }
  select.Reset();
  return code == SQLITE_DONE;
}

int HistoryStore::HasKnownFiles(std::int64_t volume_id) {
  Statement any(db_, "SELECT 1 FROM known_files WHERE volume = ?1 LIMIT 1");
  const int code = any.Bind(1, volume_id).Step();
  return code == SQLITE_ROW ? 1 : code == SQLITE_DONE ? 0 : -1;
}

bool HistoryStore::NotMet(std::int64_t volume_id, std::int64_t check_id,
                          const std::string& directory, bool subfolders, KnownFiles& found) {
  found.clear();
  Statement select(db_, std::string("SELECT ") + kKnownColumns +
                            ", check_value FROM known_files WHERE volume = ?1 AND path >= ?2 "
                            "AND path < ?3 AND seen <> ?4 ORDER BY path");
  select.Bind(1, volume_id).Bind(2, directory).Bind(3, PastDirectory(directory));
  int code;
  select.Bind(4, check_id);
  while ((code = select.Step()) == SQLITE_ROW) {
    std::string path = select.Text(0);
    if (!subfolders && path.find('\\', directory.size()) != std::string::npos) continue;
    KnownFile known = KnownAt(select, 1, volume_id, path);
    found.emplace_back(std::move(path), std::move(known));
  }
  return code == SQLITE_DONE;
}

bool HistoryStore::RecordGone(std::int64_t volume_id, std::int64_t check_id,
                              const std::vector<std::string>& paths) {
  Statement keep(db_,
                 "INSERT OR REPLACE INTO check_files SELECT ?2, path, 'gone', size, modified, "
                 "sha256, seconds FROM known_files WHERE volume = ?1 AND path = ?3");
  Statement remove(db_, "DELETE FROM known_files WHERE volume = ?1 AND path = ?2");
  for (const std::string& path : paths) {
    if (keep.Reset().Bind(1, volume_id).Bind(2, check_id).Bind(3, path).Run() != SQLITE_DONE ||
        remove.Reset().Bind(1, volume_id).Bind(2, path).Run() != SQLITE_DONE) {
      return false;
    }
  }
  return true;
}

std::vector<CheckSummary> HistoryStore::ChecksOf(const std::string& volume_key) {
  Statement checks(db_,
                   "SELECT id, started, start_directory, files, bytes, problems, seconds, "
                   "changed, ifnull(gone, -1), ifnull(new_files, -1), finished "
                   "FROM checks WHERE volume = ?1 ORDER BY id DESC");
  checks.Bind(1, VolumeId(volume_key));
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

std::int64_t HistoryStore::ChangeVolume(const std::vector<std::string>& statements,
                                        std::size_t counted, const std::string& volume_key) {
  if (!Execute("BEGIN IMMEDIATE")) return -1;
  const std::int64_t volume_id = VolumeId(volume_key);
  std::int64_t changes = 0;
  for (std::size_t i = 0; i < statements.size() && volume_id > 0; ++i) {
    Statement statement(db_, statements[i]);
    if (statement.Bind(1, volume_id).Run() != SQLITE_DONE) {
      RollBack();
      return -1;
    }
    if (i == counted) changes = sqlite3_changes(db_);
  }
  if (volume_id < 0) {
    RollBack();
    return -1;
  }
  return Execute("COMMIT") ? changes : -1;
}

std::int64_t HistoryStore::ForgetVolume(const std::string& volume_key) {
  constexpr char kChecksOfVolume[] = "(SELECT id FROM checks WHERE volume = ?1)";
  return ChangeVolume({std::string("DELETE FROM check_files WHERE check_id IN ") + kChecksOfVolume,
                       std::string("DELETE FROM speed_samples WHERE check_id IN ") +
                           kChecksOfVolume,
                       "DELETE FROM checks WHERE volume = ?1",
                       "DELETE FROM known_files WHERE volume = ?1",
                       "DELETE FROM volumes WHERE id = ?1"},
                      2, volume_key);
}

std::int64_t HistoryStore::AcceptChanges(const std::string& volume_key,
                                         const std::string& directory) {
  if (!Execute("BEGIN IMMEDIATE")) return -1;
  const std::int64_t volume_id = VolumeId(volume_key);
  // `directory` names a folder ("" or ending in a backslash) or one file.
  const bool folder = directory.empty() || directory.back() == '\\';
  Statement select(db_, std::string("SELECT ") + kKnownColumns +
                            ", check_value, seen FROM known_files WHERE volume = ?1 AND "
                            "pending IS NOT NULL AND path >= ?2 AND path " +
                            (folder ? "<" : "<=") + " ?3");
  select.Bind(1, volume_id).Bind(2, directory);
  select.Bind(3, folder ? PastDirectory(directory) : directory);
  // Read before any is written: a table is not changed under a query of it.
  std::vector<std::tuple<std::string, KnownFile, std::int64_t>> changed;
  int code = SQLITE_DONE;
  while (volume_id > 0 && (code = select.Step()) == SQLITE_ROW) {
    std::string path = select.Text(0);
    KnownFile known = KnownAt(select, 1, volume_id, path);
    // A damaged row tells nothing to accept.
    if (known.intact) changed.emplace_back(std::move(path), std::move(known), select.Int(9));
  }
  select.Reset();
  for (auto& [path, known, seen] : changed) {
    if (code != SQLITE_DONE) break;
    known.good.sha256 = std::exchange(known.pending, "");
    if (known.problem == FileOutcomeName(FileOutcome::kChanged)) known.problem.clear();
    BindKnown(insert_known_->Reset(), 1, volume_id, seen, path, known);
    code = insert_known_->Run();
  }
  if (volume_id < 0 || code != SQLITE_DONE) {
    RollBack();
    return -1;
  }
  return Execute("COMMIT") ? static_cast<std::int64_t>(changed.size()) : -1;
}

bool HistoryStore::Verify(std::vector<std::string>& damaged, std::vector<std::string>& problems) {
  Statement integrity(db_, "PRAGMA integrity_check");
  int code;
  while ((code = integrity.Step()) == SQLITE_ROW) {
    if (integrity.Text(0) != "ok") problems.push_back(integrity.Text(0));
  }
  if (code != SQLITE_DONE) return false;
  Statement rows(db_, std::string("SELECT k.volume, v.key, k.") + kKnownColumns +
                          ", k.check_value FROM known_files k JOIN volumes v ON v.id = k.volume");
  while ((code = rows.Step()) == SQLITE_ROW) {
    const std::string path = rows.Text(2);
    if (!KnownAt(rows, 3, rows.Int(0), path).intact) damaged.push_back(rows.Text(1) + ": " + path);
  }
  return code == SQLITE_DONE;
}

}  // namespace tarvik
