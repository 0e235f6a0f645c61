#include "history/HistoryStore.h"

#include <ctime>
#include <utility>

#include "history/KnownRows.h"

namespace tarvik {

namespace {

constexpr char kSampleValues[] = "(?, ?, ?, ?)";
constexpr int kSampleColumns = 4;

// A volume key without its source, as the first version wrote the same volume's key with the
// modification time of its root in its place; "" for a key of a file-system UUID or a share.
std::string FirstVersionPrefix(const std::string& key) {
  const std::size_t source = key.rfind("\nSOURCE=");
  return key.starts_with("TYPE=") && source != std::string::npos ? key.substr(0, source + 1) +
                                                                       "ROOT="
                                                                 : "";
}

}  // namespace

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

}  // namespace tarvik
