#include "platform/posix/LatestLook.h"

namespace tarvik {

void LatestLook::Searchable(const std::string& directory) { searchable_ = directory; }

bool LatestLook::ShowsSearchable(const std::string& directory) const {
  if (searchable_.empty() || directory.empty() || !searchable_.starts_with(directory)) {
    return false;
  }
  // Reaching a directory searches every directory on the way to it.
  return searchable_.size() == directory.size() || directory.ends_with('/') ||
         searchable_[directory.size()] == '/';
}

}  // namespace tarvik
