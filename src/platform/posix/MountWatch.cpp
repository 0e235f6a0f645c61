#include "platform/posix/MountWatch.h"

#include <libmount.h>

namespace tarvik {

void MountWatch::MonitorDeleter::operator()(libmnt_monitor* monitor) const {
  mnt_unref_monitor(monitor);
}

MountWatch::MountWatch() : monitor_(mnt_new_monitor()) {
  if (!monitor_ || mnt_monitor_enable_kernel(monitor_.get(), 1) != 0) return;
  // What the kernel reports as the watch starts is left to be taken: a mount between the
  // last reading of the table and this watch would be missed otherwise.
  descriptor_ = mnt_monitor_get_fd(monitor_.get());
}

MountWatch::~MountWatch() = default;

bool MountWatch::TakeChanges() {
  if (descriptor_ < 0) return false;
  bool changed = false;
  const char* file = nullptr;
  int type = 0;
  while (mnt_monitor_next_change(monitor_.get(), &file, &type) == 0) changed = true;
  return changed;
}

}  // namespace tarvik
