#include "platform/posix/LatestLook.h"

namespace tarvik {

void LatestLook::Searchable(const std::string& directory) {
  Forget();
  searchable_ = directory;
}

void LatestLook::Stamped(const std::string& directory, const DirectoryStamp& stamp, bool settled) {
  Forget();
  stamped_ = directory;
  stamp_ = stamp;
  settled_ = settled;
}

void LatestLook::Ended(int fd) {
  Forget();
  ended_ = fd;
}

void LatestLook::Opened(const std::string& posix_path, int fd) {
  Forget();
  file_ = posix_path;
  opened_ = fd;
}

void LatestLook::Failed(const std::string& posix_path, int error) {
  Forget();
  file_ = posix_path;
  failed_ = error;
}

void LatestLook::Forget() {
  searchable_.clear();
  stamped_.clear();
  ended_ = -1;
  opened_ = -1;
  failed_ = 0;
}

bool LatestLook::ShowsStamp(const std::string& directory, DirectoryStamp& stamp,
                            bool& settled) const {
  if (stamped_.empty() || stamped_ != directory) return false;
  stamp = stamp_;
  settled = settled_;
  return true;
}

bool LatestLook::ShowsSearchable(const std::string& directory) const {
  if (searchable_.empty() || directory.empty() || !searchable_.starts_with(directory)) {
    return false;
  }
  // Reaching a directory searches every directory on the way to it.
  return searchable_.size() == directory.size() || directory.ends_with('/') ||
         searchable_[directory.size()] == '/';
}

}  // namespace tarvik
