#include <cstdio>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "history/HistoryStore.h"
#include "history/KnownRows.h"
#include "util/Utf8Path.h"

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

}  // namespace

std::unique_ptr<HistoryStore> HistoryStore::Open(const std::string& path, HistoryOpening& opening,
                                                 std::string& detail) {
  std::error_code error;
  std::filesystem::create_directories(Utf8Path(path).parent_path(), error);
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
  // A journal beside it: its holder is writing, and pages on disk may be changes it will
  // still roll back.
  std::error_code no_journal;
  if (std::filesystem::file_size(Utf8Path(path + "-journal"), no_journal) > 0 && !no_journal)
    return nullptr;
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

HistoryStore::HistoryStore(sqlite3* db) : db_(db) {}

HistoryStore::~HistoryStore() {
  insert_known_.reset();
  insert_known_batch_.reset();
  insert_difference_.reset();
  for (std::unique_ptr<Statement>& select : select_known_) select.reset();
  if (sqlite3_get_autocommit(db_) == 0) Execute("COMMIT");
  sqlite3_close(db_);
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
    const bool made = Execute(kVolumesAndChecks) && Execute(kFileTables) &&
                      (!take_over || TakeOverFirstVersion()) &&
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
  // Each file's last state read without a problem, whatever check read it. The first version
  // kept the content a silent change left as the file's state: that content is a change not
  // yet accepted against the state before it.
  Statement good(
      db_,
      "SELECT c.volume, f.path, f.size, f.modified, f.sha256, f.seconds, c.started, "
      "f.check_id, f.outcome = 'changed' FROM files f JOIN checks c ON c.id = f.check_id "
      "WHERE c.finished = 1 AND f.size IS NOT NULL AND f.outcome IN ('ok', 'changed') "
      "ORDER BY f.check_id");
  Statement before(db_, std::string("SELECT ") + kKnownColumns +
                            ", check_value FROM known_files WHERE volume = ?1 AND path = ?2");
  Statement insert(db_, InsertRows("known_files", kKnownValues, 1));
  int code;
  while ((code = good.Step()) == SQLITE_ROW) {
    const std::string path = good.Text(1);
    if (good.Int(8) != 0 &&
        before.Reset().Bind(1, good.Int(0)).Bind(2, path).Step() == SQLITE_ROW) {
      KnownFile changed = KnownAt(before, 1, good.Int(0), path);
      changed.pending = good.Blob(4);
      changed.problem = FileOutcomeName(FileOutcome::kChanged);
      before.Reset();
      BindKnown(insert.Reset(), 1, good.Int(0), good.Int(7), path, changed);
      if (insert.Run() != SQLITE_DONE) return false;
      continue;
    }
    before.Reset();
    const KnownFile known{
        .good = {.size = good.Int(2),
                 .modified =
                     good.IsNull(3) ? std::nullopt : std::optional<std::int64_t>(good.Int(3)),
                 .sha256 = good.Blob(4),
                 .seconds = good.Real(5)},
        .proven = good.Int(6),
        .pending = {},
        .problem = {},
        .intact = true};
    BindKnown(insert.Reset(), 1, good.Int(0), good.Int(7), path, known);
    if (insert.Run() != SQLITE_DONE) return false;
  }
  return code == SQLITE_DONE &&
         Execute(
             "INSERT INTO check_files SELECT check_id, path, outcome, size, modified, sha256, "
             "seconds FROM files WHERE outcome <> 'ok'") &&
         Execute("DROP TABLE files");
}

void HistoryStore::PrepareReads() {
  for (const bool after : {false, true}) {
    select_known_[after] = std::make_unique<Statement>(
        db_, std::string("SELECT ") + kKnownColumns +
                 ", check_value FROM known_files WHERE volume = ?1 AND path " +
                 (after ? ">" : ">=") + " ?2 ORDER BY path LIMIT ?3");
  }
}

std::string HistoryStore::MoveAside(const std::string& path, std::string& error) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  const std::string aside = path + ".damaged-" + stamp;
  std::error_code code;
  std::filesystem::rename(Utf8Path(path), Utf8Path(aside), code);
  if (code) {
    error = code.message();
    return "";
  }
  for (const char* suffix : {"-journal", "-wal", "-shm"}) {
    std::error_code missing_is_fine;
    std::filesystem::rename(Utf8Path(path + suffix), Utf8Path(aside + suffix), missing_is_fine);
  }
  return aside;
}

}  // namespace tarvik
