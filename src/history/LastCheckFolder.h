#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "history/HistoryStore.h"
#include "history/HistoryThread.h"

namespace tarvik {

// What the last check said of the files of one folder at a time: the walk checks a folder's
// files one after the other, so one query for the folder stands in for one per file. The
// query runs on the history's thread, started as the folder's first file begins (Expect) and
// waited for at its end (File). Memory follows the largest folder, up to `max_files` rows
// twice (the folder's and the next one's); the files of a folder past that are looked up one
// by one.
class LastCheckFolder {
 public:
  static constexpr std::size_t kMaxFiles = 10'000;

  LastCheckFolder(HistoryThread& thread, std::int64_t check_id, std::size_t max_files);

  // The file at `path` (relative to the volume's root) comes next: its folder's rows are read
  // meanwhile, unless they are held already.
  void Expect(std::string_view path);
  // What the last check said of `path`, null when it did not read it; false when the database
  // could not be read. Another folder's path drops the rows of the folder before.
  bool File(std::string_view path, const FileRecord*& found);

 private:
  HistoryThread& thread_;
  const std::int64_t check_id_;
  const std::size_t max_files_;
  // The folder asked for last, and the job that reads its rows into next_ and next_whole_.
  std::optional<std::string> asked_;
  std::uint64_t asked_job_ = 0;
  FolderRows next_;
  bool next_whole_ = false;
  // The folder whose rows files_ holds; whole_: they are every file the check read there.
  std::optional<std::string> folder_;
  FolderRows files_;
  bool whole_ = false;
  // A file looked up by itself.
  std::optional<FileRecord> single_;
};

}  // namespace tarvik
