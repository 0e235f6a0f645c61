#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

#include "platform/Platform.h"

namespace tarvik {

class DirectoryAnchor;
class PathAt;

// Nanoseconds of this machine's real-time clock, the clock file systems stamp times from.
std::int64_t RealTimeNanoseconds();
// Nanoseconds of this machine's monotonic clock, which no setting of the time moves.
std::int64_t MonotonicNanoseconds();

// Stamps directories by their device, inode, change and modification times. A directory is
// settled when both times lie further in the past than its file system's timestamps can be
// coarse: only then does any later change of its entries give it other times. The coarseness
// is taken as a few milliseconds on file systems with fine timestamps and as seconds on all
// others (FAT keeps two-second times).
class DirectoryStamper {
 public:
  // False when the directory cannot be looked at or is not settled. The directory is reached from
  // `anchor` where it keeps its parent (PathAt).
  bool Stamp(const std::string& posix_path, DirectoryStamp& stamp,
             DirectoryAnchor* anchor = nullptr);

 private:
  // Nanoseconds that a directory must have been left alone on the file system of the directory
  // reached through `at`.
  std::int64_t SettleTime(std::uint64_t device, const PathAt& at);

  std::unordered_map<std::uint64_t, std::int64_t> settle_times_;
};

}  // namespace tarvik
