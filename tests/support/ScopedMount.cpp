#include "support/ScopedMount.h"

#include <sys/mount.h>

#include "support/PrivateMountNamespace.h"

namespace tarvik {

ScopedMount::ScopedMount(const std::string& directory, const std::string& size)
    : directory_(directory) {
  mounted_ = EnterPrivateMountNamespace() == 0 &&
             mount("tmpfs", directory.c_str(), "tmpfs", 0, ("size=" + size).c_str()) == 0;
}

ScopedMount::~ScopedMount() {
  if (mounted_) umount2(directory_.c_str(), MNT_DETACH);
}

bool ScopedMount::MakeReadOnly() {
  return mount(nullptr, directory_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

}  // namespace tarvik
