#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tarvik {

// Descriptors kept of the directory that the latest path was reached in and of those next to it on
// its way, so that the next path in it, below it or above it is reached from there instead of from
// the root: the kernel then walks only the names that differ, however deep the tree. A directory
// is reached from a kept one by its names, or through ".." when it lies above, and is taken only
// when it is the very directory (device and inode) that was reached on the way down and its
// parent still holds it under its name; otherwise the path is walked whole. Kept only while
// enabled: a command's walk.
//
//   const int directory = anchor.Reach("/mnt/work/a/b");   // -1: walk the whole path
//   statx(directory, "name", ...);
class DirectoryAnchor {
 public:
  DirectoryAnchor() = default;
  ~DirectoryAnchor() { Drop(); }
  DirectoryAnchor(const DirectoryAnchor&) = delete;
  DirectoryAnchor& operator=(const DirectoryAnchor&) = delete;

  // Disabled, it keeps nothing and reaches nothing.
  void Enable(bool enabled);
  // A descriptor of the directory `directory` (an absolute POSIX path), valid until the next
  // call, or -1 when it is not reached this way: the caller then walks the whole path, whose
  // error is the one to report.
  int Reach(std::string_view directory);

 private:
  // A directory on the way to the deepest one kept: where its path ends in `path_`, what it was
  // when it was reached, and its descriptor when it is one of the last few.
  struct Level {
    std::size_t end;
    dev_t device;
    ino_t inode;
    int fd;
  };

  void Drop();
  // Keeps only the first `count` levels.
  void Truncate(std::size_t count);
  // Opens `directory` from the root as the only level; false when it cannot be opened.
  bool Restart(std::string_view directory);
  // Opens `name` in the deepest level, as a new deepest level ending at `end` of `path_`.
  bool Descend(std::string_view name, std::size_t end);
  // Reaches level `index` through ".." from the level below it, which has a descriptor.
  bool Ascend(std::size_t index);
  // Whether `path` relative to `directory` is the directory of level `index`.
  bool IsLevel(int directory, const char* path, std::size_t index) const;
  // Whether the open level `index` is still where its path says, as far as its last name tells:
  // its parent holds it under that name, and is the directory that was its parent on the way
  // down. Any other change on its way shows when the walk comes back up past it.
  bool StillNamed(std::size_t index) const;

  bool enabled_ = false;
  std::string path_;  // the path of the deepest level
  std::vector<Level> levels_;
};

}  // namespace tarvik
