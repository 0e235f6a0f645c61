#include "ScopedMount.h"

#include <sched.h>
#include <sys/mount.h>

namespace tarvik {

namespace {

bool EnterPrivateMountNamespace() {
  static const bool entered =
      unshare(CLONE_NEWNS) == 0 && mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
  return entered;
}

}  // namespace

ScopedMount::ScopedMount(const std::string& directory) : directory_(directory) {
  mounted_ =
      EnterPrivateMountNamespace() && mount("tmpfs", directory.c_str(), "tmpfs", 0, "size=1m") == 0;
}

ScopedMount::~ScopedMount() {
  if (mounted_) umount2(directory_.c_str(), MNT_DETACH);
}

bool ScopedMount::MakeReadOnly() {
  return mount(nullptr, directory_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

}  // namespace tarvik
