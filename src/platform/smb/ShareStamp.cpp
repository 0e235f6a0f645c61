#include "platform/smb/ShareStamp.h"

#include <algorithm>
#include <ctime>

namespace tarvik {

namespace {

constexpr std::int64_t kNanosecondsPerSecond = 1'000'000'000;

// The server's clock stamps the directory's times, ours judges them. A change made after the
// server answered gets a time no earlier than the server's clock then, less the coarseness of
// its file system's times; the server answered after `asked_at`, when its clock read at least
// `asked_at` less the skew between the clocks. So a directory whose times lie further back
// than skew plus coarseness cannot keep them through a later change. The skew allowed is what
// clocks kept by any time service stay well within, and what a forgotten clock drifts in a
// week or so; the coarsest times a share keeps are FAT's two seconds. A clock off by more
// could let a change within one tick of the server's clock go unseen; one ahead of ours only
// keeps directories from settling.
constexpr std::int64_t kAllowedClockSkew = 30 * kNanosecondsPerSecond;
constexpr std::int64_t kCoarsestTimes = 2 * kNanosecondsPerSecond;

std::int64_t Nanoseconds(const timespec& time) {
  return time.tv_sec * kNanosecondsPerSecond + time.tv_nsec;
}

}  // namespace

bool StampFromStatus(const struct stat& status, std::int64_t asked_at, DirectoryStamp& stamp) {
  if (!S_ISDIR(status.st_mode)) return false;
  const std::int64_t modified = Nanoseconds(status.st_mtim);
  const std::int64_t changed = Nanoseconds(status.st_ctim);
  stamp.identity[0] = status.st_dev;
  stamp.identity[1] = status.st_ino;
  stamp.changed[0] = static_cast<std::uint64_t>(modified);
  stamp.changed[1] = static_cast<std::uint64_t>(changed);
  // A server that keeps no times reports none; such times never move, whatever changes.
  if (modified <= 0 || changed <= 0) return false;
  return std::max(modified, changed) < asked_at - kAllowedClockSkew - kCoarsestTimes;
}

}  // namespace tarvik
