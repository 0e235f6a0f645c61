#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tarvik {

// A file's state as one read found it.
struct FileState {
  std::int64_t size = -1;
  std::optional<std::int64_t> modified;  // nanoseconds since 1970
  std::string sha256;                    // raw bytes, empty for none
  double seconds = 0;                    // how long the read took
};

// What the history knows of a file of a volume: the last state read without a problem, and
// what later checks found against it.
struct KnownFile {
  FileState good;
  // When a check last read the file without a problem (seconds since 1970).
  std::int64_t proven = 0;
  // The digest of a content that differs from good.sha256 while size and modification time do
  // not, until the user accepts it; empty for none.
  std::string pending;
  // The outcome of the last check that met the file when that was a problem, empty when it read
  // without one.
  std::string problem;
  // The row matched its check value when it was read.
  bool intact = true;
};

// Known rows with their paths (relative to the volume's root), in the order of the paths.
using KnownFiles = std::vector<std::pair<std::string, KnownFile>>;

// What a check writes of one file it met: its known row, and a row of the check's own when it
// differs from what was known.
struct FileRow {
  std::string path;  // relative to the volume's root
  // Write `known` as the file's known row (with the check as the last to meet it).
  bool keep = false;
  KnownFile known;
  // The outcome the check's own row keeps ("changed", a problem's, "new"), empty for none;
  // `now` is the state it keeps with it.
  std::string difference;
  FileState now;
};

// The check value of a known row: a 64-bit FNV-1a over the volume, the path and every field,
// each with its length, so that a bit flipped anywhere in the row, or a row moved to another
// path, no longer matches.
std::int64_t RowCheckValue(std::int64_t volume_id, std::string_view path, const KnownFile& row);

}  // namespace tarvik
