#include "platform/smb/LatestFinding.h"

#include "platform/smb/RemoteName.h"

namespace tarvik {

void LatestFinding::Found(const WindowsPath& path, std::uint32_t attributes, bool all_attributes) {
  path_ = path;
  finding_ = Finding{attributes, all_attributes};
  calls_since_ = 0;
}

const LatestFinding::Finding* LatestFinding::Of(const WindowsPath& path) {
  if (!path_ || calls_since_ != 1 || path_->drive != path.drive || !SameRemoteNames(path_->names, path.names)) return nullptr;
  calls_since_ = 0;
  return &finding_;
}

}  // namespace tarvik
