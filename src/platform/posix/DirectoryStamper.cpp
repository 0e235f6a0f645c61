#include "platform/posix/DirectoryStamper.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>

#include "platform/posix/FileSystemKind.h"
#include "platform/posix/PathAt.h"

namespace tarvik {

namespace {

constexpr std::int64_t kNanosecondsPerSecond = 1'000'000'000;
// File systems that keep nanosecond times, stamped from the kernel's coarse clock (a few
// milliseconds a tick).
constexpr std::int64_t kFineSettleTime = 50'000'000;
constexpr std::int64_t kCoarseSettleTime = 3 * kNanosecondsPerSecond;

std::int64_t Nanoseconds(const statx_timestamp& time) {
  return time.tv_sec * kNanosecondsPerSecond + time.tv_nsec;
}

}  // namespace

std::int64_t RealTimeNanoseconds() {
  timespec now;
  clock_gettime(CLOCK_REALTIME, &now);
  return now.tv_sec * kNanosecondsPerSecond + now.tv_nsec;
}

std::int64_t MonotonicNanoseconds() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * kNanosecondsPerSecond + now.tv_nsec;
}

std::int64_t DirectoryStamper::SettleTime(std::uint64_t device, const PathAt& at) {
  const auto known = settle_times_.find(device);
  if (known != settle_times_.end()) return known->second;
  // Through a descriptor, which reaches the directory at any depth.
  const int fd = openat(at.directory(), at.path(), O_PATH | O_CLOEXEC);
  struct statfs volume {};
  const bool known_kind = fd >= 0 && fstatfs(fd, &volume) == 0;
  if (fd >= 0) close(fd);
  const std::int64_t settle_time = known_kind && KeepsFineTimes(KindOfFileSystem(volume.f_type))
                                       ? kFineSettleTime
                                       : kCoarseSettleTime;
  settle_times_.emplace(device, settle_time);
  return settle_time;
}

bool DirectoryStamper::Stamp(const std::string& posix_path, DirectoryStamp& stamp,
                             DirectoryAnchor* anchor) {
  // The clock is read first: a change made after this reading gets a time after it, less
  // the coarseness of the file system's clock.
  const std::int64_t now = RealTimeNanoseconds();
  struct statx status;
  constexpr unsigned kMask = STATX_TYPE | STATX_INO | STATX_MTIME | STATX_CTIME;
  const PathAt at(posix_path, anchor);
  if (statx(at.directory(), at.path(), AT_NO_AUTOMOUNT, kMask, &status) != 0 ||
      !S_ISDIR(status.stx_mode) || (status.stx_mask & kMask) != kMask) {
    return false;
  }
  const std::uint64_t device =
      (static_cast<std::uint64_t>(status.stx_dev_major) << 32) | status.stx_dev_minor;
  const std::int64_t modified = Nanoseconds(status.stx_mtime);
  const std::int64_t changed = Nanoseconds(status.stx_ctime);
  stamp.identity[0] = device;
  stamp.identity[1] = status.stx_ino;
  stamp.changed[0] = static_cast<std::uint64_t>(modified);
  stamp.changed[1] = static_cast<std::uint64_t>(changed);
  return std::max(modified, changed) < now - SettleTime(device, at);
}

}  // namespace tarvik
