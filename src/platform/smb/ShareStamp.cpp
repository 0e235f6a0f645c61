#include "platform/smb/ShareStamp.h"

#include <algorithm>
#include <ctime>

#include "platform/posix/DirectoryStamper.h"

namespace tarvik {

namespace {

constexpr std::int64_t kNanosecondsPerSecond = 1'000'000'000;

// A server that did not tell its time is allowed a clock this far behind ours: what clocks
// kept by any time service stay well within, and what a forgotten clock drifts in a week or
// so. One further behind could let a change within one tick of its clock go unseen; one ahead
// of ours only keeps directories from settling.
constexpr std::int64_t kAllowedClockSkew = 30 * kNanosecondsPerSecond;
// The coarsest times a share keeps are FAT's two seconds. Times with a fraction of a second in
// both come from a file system that keeps fine times, stamped from a clock that ticks every few
// milliseconds.
constexpr std::int64_t kCoarsestTimes = 2 * kNanosecondsPerSecond;
constexpr std::int64_t kFineTimes = 50'000'000;

std::int64_t Nanoseconds(const timespec& time) {
  return time.tv_sec * kNanosecondsPerSecond + time.tv_nsec;
}

}  // namespace

std::int64_t EarliestServerTime(const std::optional<ServerClock>& clock) {
  return clock ? clock->EarliestAt(MonotonicNanoseconds())
               : RealTimeNanoseconds() - kAllowedClockSkew;
}

bool StampFromStatus(const struct stat& status, std::int64_t server_time, DirectoryStamp& stamp) {
  if (!S_ISDIR(status.st_mode)) return false;
  const std::int64_t modified = Nanoseconds(status.st_mtim);
  const std::int64_t changed = Nanoseconds(status.st_ctim);
  stamp.identity[0] = status.st_dev;
  stamp.identity[1] = status.st_ino;
  stamp.changed[0] = static_cast<std::uint64_t>(modified);
  stamp.changed[1] = static_cast<std::uint64_t>(changed);
  // A server that keeps no times reports none; such times never move, whatever changes.
  if (modified <= 0 || changed <= 0) return false;
  // A change made after the server answered gets a time no earlier than its clock then, less
  // the coarseness of its file system's times.
  const bool fine_times = status.st_mtim.tv_nsec != 0 && status.st_ctim.tv_nsec != 0;
  return std::max(modified, changed) < server_time - (fine_times ? kFineTimes : kCoarsestTimes);
}

}  // namespace tarvik
