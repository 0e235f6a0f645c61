#include "support/PrivateMountNamespace.h"

#include <sched.h>
#include <sys/mount.h>

#include <cerrno>

namespace tarvik {

int EnterPrivateMountNamespace() {
  static const int error = [] {
    if (unshare(CLONE_NEWNS) != 0) return errno;
    // Without this, mounts made here would still reach the namespace we came from.
    if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return errno;
    return 0;
  }();
  return error;
}

}  // namespace tarvik
