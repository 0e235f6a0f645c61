#include "platform/FailedListings.h"

#include <algorithm>

namespace tarvik {

std::vector<FailedListings::Failure>::iterator FailedListings::Find(
    const std::string& posix_directory) {
  return std::ranges::find(failures_, posix_directory, &Failure::posix_directory);
}

void FailedListings::Read(const std::string& posix_directory, int error) {
  const auto found = Find(posix_directory);
  if (error == 0) {
    if (found != failures_.end() && found->reported) failures_.erase(found);
    return;
  }
  if (found != failures_.end()) failures_.erase(found);
  if (failures_.size() == kMaxFailures) failures_.erase(failures_.begin());
  failures_.push_back({posix_directory, error, false});
}

int FailedListings::Report(const std::string& posix_directory) {
  const auto found = Find(posix_directory);
  if (found == failures_.end()) return 0;
  found->reported = true;
  return found->error;
}

}  // namespace tarvik
