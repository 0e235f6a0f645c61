#include "platform/smb/LatestRequest.h"

#include <span>

#include "platform/smb/RemoteName.h"
#include "platform/smb/ShareListings.h"

namespace tarvik {

const LatestRequest::Shown* LatestRequest::Of(const WindowsPath& path) const {
  if (!shown_ || shown_->path.drive != path.drive ||
      !SameRemoteNames(shown_->path.NameList(), path.NameList())) {
    return nullptr;
  }
  return &*shown_;
}

bool LatestRequest::ShowsDirectory(const WindowsPath& path) const {
  if (!shown_ || shown_->path.drive != path.drive) return false;
  const std::vector<std::string> asked_names = shown_->path.NameList();
  const std::vector<std::string> path_names = path.NameList();
  const std::span<const std::string> asked(asked_names);
  const std::span<const std::string> names(path_names);
  if (names.size() < asked.size()) return SameRemoteNames(names, asked.first(names.size()));
  if (names.size() == asked.size()) return shown_->directory && SameRemoteNames(names, asked);
  if (names.size() > asked.size() + 1 || !shown_->entries ||
      !SameRemoteNames(names.first(asked.size()), asked)) {
    return false;
  }
  const FoundEntry* entry = EntryNamed(*shown_->entries, names.back());
  return entry != nullptr && (entry->attributes & kAttrDirectory) != 0;
}

}  // namespace tarvik
