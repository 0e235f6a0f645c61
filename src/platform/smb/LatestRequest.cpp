#include "platform/smb/LatestRequest.h"

#include <span>

#include "platform/smb/RemoteName.h"
#include "platform/smb/ShareListings.h"

namespace tarvik {

const LatestRequest::Shown* LatestRequest::Of(const WindowsPath& path) const {
  if (!shown_ || shown_->path.drive != path.drive ||
      !SameRemoteNames(shown_->path.names, path.names)) {
    return nullptr;
  }
  return &*shown_;
}

bool LatestRequest::ShowsDirectory(const WindowsPath& path) const {
  if (!shown_ || shown_->path.drive != path.drive) return false;
  const std::span<const std::string> asked(shown_->path.names);
  const std::span<const std::string> names(path.names);
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
