#include "platform/smb/LatestFinding.h"

#include "platform/smb/RemoteName.h"

namespace tarvik {

void LatestFinding::Found(const WindowsPath& path, std::uint32_t attributes, bool all_attributes) {
  path_ = path;
  finding_ = Finding{attributes, all_attributes};
  found_at_ = calls_;
}

const LatestFinding::Finding* LatestFinding::Of(const WindowsPath& path) {
  if (!path_ || found_at_ + 1 != calls_ || path_->drive != path.drive ||
      !SameRemoteNames(path_->NameList(), path.NameList()))
    return nullptr;
  found_at_ = calls_;
  return &finding_;
}

}  // namespace tarvik
