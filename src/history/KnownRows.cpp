#include "history/KnownRows.h"

namespace tarvik {

namespace {

// Greater than every path: no UTF-8 text holds the byte 0xF5.
constexpr char kPastEveryPath[] = "\xF5";

}  // namespace

std::string PastDirectory(const std::string& directory) {
  if (directory.empty()) return kPastEveryPath;
  std::string past = directory;
  past.back() = '\\' + 1;
  return past;
}

std::string InsertRows(const char* table, const char* values, std::size_t rows) {
  std::string sql = std::string("INSERT OR REPLACE INTO ") + table + " VALUES";
  for (std::size_t i = 0; i < rows; ++i) sql += (i == 0 ? "" : ", ") + std::string(values);
  return sql;
}

Statement& BindBytes(Statement& statement, int index, const std::string& bytes) {
  return bytes.empty() ? statement.BindNull(index) : statement.BindBlob(index, bytes);
}

Statement& BindState(Statement& statement, int first, const FileState& state) {
  statement.Bind(first, state.size).Bind(first + 1, state.modified);
  return BindBytes(statement, first + 2, state.sha256).Bind(first + 3, state.seconds);
}

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

}  // namespace tarvik
