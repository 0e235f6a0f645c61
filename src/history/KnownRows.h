#pragma once

// The rows of known_files and check_files as the store's statements bind and read them.

#include <cstddef>
#include <cstdint>
#include <string>

#include "history/HistoryStore.h"
#include "history/KnownFile.h"
#include "history/Sqlite.h"

namespace tarvik {

inline constexpr char kKnownColumns[] = "path, size, modified, sha256, seconds, proven, pending, problem";
inline constexpr char kKnownValues[] = "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";
inline constexpr int kKnownCount = 11;

// The paths below `directory` ("" or ending in a backslash) are those from it to this one.
std::string PastDirectory(const std::string& directory);

// The statement that inserts `rows` rows of `values` into `table`.
std::string InsertRows(const char* table, const char* values, std::size_t rows);

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

Statement& BindBytes(Statement& statement, int index, const std::string& bytes);
// Binds a file's size, modified, sha256 and seconds from parameter `first`.
Statement& BindState(Statement& statement, int first, const FileState& state);
// Binds a known row to the parameters of the known_files insert from `first`.
void BindKnown(Statement& insert, int first, std::int64_t volume_id, std::int64_t check_id,
               const std::string& path, const KnownFile& known);
// The known row of kKnownColumns from column `first`, checked against the check value in the
// column after them.
KnownFile KnownAt(const Statement& row, int first, std::int64_t volume_id,
                  const std::string& path);

}  // namespace tarvik
