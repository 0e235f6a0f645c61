#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

#include "history/HistoryStore.h"

namespace tarvik {

// What the last check said of the files of one folder at a time: the walk checks a folder's
// files one after the other, so one query when it enters the folder stands in for one per
// file. Memory follows the largest folder, up to kMaxFiles rows; the files of a folder past
// that are looked up one by one.
class LastCheckFolder {
 public:
  static constexpr std::size_t kMaxFiles = 10'000;

  // What check `check_id` said of `path` (relative to the volume's root), empty when it did not
  // read it; false when the database could not be read. Another folder's path drops the rows
  // of the folder before.
  bool File(HistoryStore& store, std::int64_t check_id, const std::string& path,
            std::optional<FileRecord>& found);

 private:
  std::optional<std::string> folder_;
  std::unordered_map<std::string, FileRecord> files_;
  // files_ holds every file the check read in the folder.
  bool whole_ = false;
};

}  // namespace tarvik
