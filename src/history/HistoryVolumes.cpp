#include <algorithm>
#include <tuple>
#include <utility>
#include <vector>

#include "history/HistoryStore.h"
#include "history/KnownRows.h"

namespace tarvik {

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
    if (KnownAt(rows, 3, rows.Int(0), path).intact) continue;
    std::string key = rows.Text(1);
    std::replace(key.begin(), key.end(), '\n', ' ');
    damaged.push_back(key + ": " + path);
  }
  return code == SQLITE_DONE;
}

}  // namespace tarvik
