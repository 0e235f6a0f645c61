#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarvik {

// One prepared statement: parameters bound by position from 1, columns read from 0. Reset
// before each use, so that a statement is prepared once and run many times.
class Statement {
 public:
  Statement(sqlite3* db, std::string_view sql);
  ~Statement() { sqlite3_finalize(statement_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  // Clears the bindings of the run before; returns *this for chaining Bind calls.
  Statement& Reset();
  Statement& Bind(int index, std::int64_t value);
  Statement& Bind(int index, double value);
  Statement& Bind(int index, std::string_view text);
  Statement& BindBlob(int index, std::string_view bytes);
  Statement& Bind(int index, const std::optional<std::int64_t>& value);
  Statement& BindNull(int index);
  // SQLITE_ROW, SQLITE_DONE or the error code.
  int Step();
  // Steps to the end; the result code (SQLITE_DONE for success).
  int Run();

  std::int64_t Int(int column) const { return sqlite3_column_int64(statement_, column); }
  double Real(int column) const { return sqlite3_column_double(statement_, column); }
  bool IsNull(int column) const { return sqlite3_column_type(statement_, column) == SQLITE_NULL; }
  std::string Text(int column) const;
  std::string Blob(int column) const;
  // False when the statement could not be prepared (a damaged or foreign file).
  bool Valid() const { return statement_ != nullptr; }

 private:
  sqlite3_stmt* statement_ = nullptr;
};

}  // namespace tarvik
