#pragma once

#include <memory>

struct libmnt_monitor;

namespace tarvik {

// Watches the process's mount table through the kernel, at no cost while nothing is mounted
// or unmounted: its descriptor becomes readable when the table changes and stays so until the
// change is taken.
class MountWatch {
 public:
  MountWatch();
  ~MountWatch();
  MountWatch(const MountWatch&) = delete;
  MountWatch& operator=(const MountWatch&) = delete;

  // For an event loop to wait on; -1 when the table cannot be watched.
  int descriptor() const { return descriptor_; }
  // True when the table changed since the last call; the descriptor is not readable after it.
  bool TakeChanges();

 private:
  struct MonitorDeleter {
    void operator()(libmnt_monitor* monitor) const;
  };
  std::unique_ptr<libmnt_monitor, MonitorDeleter> monitor_;
  int descriptor_ = -1;
};

}  // namespace tarvik
