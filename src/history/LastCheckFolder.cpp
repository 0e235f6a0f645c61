#include "history/LastCheckFolder.h"

namespace tarvik {

bool LastCheckFolder::File(HistoryStore& store, std::int64_t check_id, const std::string& path,
                           std::optional<FileRecord>& found) {
  const std::size_t separator = path.rfind('\\');
  const std::size_t name_at = separator == std::string::npos ? 0 : separator + 1;
  const std::string_view folder(path.data(), name_at);
  if (folder_ != folder) {
    folder_.reset();
    if (!store.FilesIn(check_id, std::string(folder), kMaxFiles, files_, whole_)) return false;
    folder_ = folder;
  }
  const auto file = files_.find(path.substr(name_at));
  if (file != files_.end()) {
    found = file->second;
    return true;
  }
  if (!whole_) return store.File(check_id, path, found);
  found.reset();
  return true;
}

}  // namespace tarvik
