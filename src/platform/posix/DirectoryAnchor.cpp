#include "platform/posix/DirectoryAnchor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

#include "platform/posix/PathAt.h"
#include "util/Text.h"

namespace tarvik {

namespace {

// Beyond this many steps from the kept directories, one walk from the root costs less.
constexpr std::size_t kMostSteps = 16;
// Directories kept open: a walk's calls go to the directory it is in, its parent, and, on the way
// back up, the one it left.
constexpr std::size_t kOpenLevels = 3;

int OpenDirectoryAt(int directory, const char* name) {
  int fd;
  do {
    fd = openat(directory, name, O_PATH | O_DIRECTORY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

// Whether an absolute path has no empty, "." or ".." names from `from` on (where a name starts
// or a separator is): one whose names past there are directories on the way.
bool IsPlainFrom(std::string_view path, std::size_t from) {
  if (path.empty() || path.front() != '/') return false;
  if (path == "/") return true;
  const std::string_view rest = path.substr(from);
  return path.back() != '/' && rest.find("//") == std::string_view::npos &&
         rest.find("/./") == std::string_view::npos &&
         rest.find("/../") == std::string_view::npos && !rest.ends_with("/.") &&
         !rest.ends_with("/..");
}

// Where the names below a directory whose path ends at `end` start.
std::size_t NamesStart(std::size_t end) { return end == 1 ? 1 : end + 1; }

}  // namespace

void DirectoryAnchor::Enable(bool enabled) {
  Drop();
  enabled_ = enabled;
}

void DirectoryAnchor::Drop() { Truncate(0); }

void DirectoryAnchor::Truncate(std::size_t count) {
  for (std::size_t index = count; index < levels_.size(); ++index) {
    if (levels_[index].fd >= 0) close(levels_[index].fd);
  }
  levels_.resize(std::min(count, levels_.size()));
  path_.resize(levels_.empty() ? 0 : levels_.back().end);
}

bool DirectoryAnchor::Restart(std::string_view directory) {
  Drop();
  const PathAt at{std::string(directory)};
  if (at.error() != 0) return false;
  const int fd = OpenDirectoryAt(at.directory(), at.path());
  struct stat status;
  if (fd < 0) return false;
  if (fstat(fd, &status) != 0) {
    close(fd);
    return false;
  }
  levels_.push_back({directory.size(), status.st_dev, status.st_ino, fd});
  path_.assign(directory);
  return true;
}

bool DirectoryAnchor::Descend(std::string_view name, std::size_t end) {
  const int fd = OpenDirectoryAt(levels_.back().fd, std::string(name).c_str());
  struct stat status;
  if (fd < 0) return false;
  if (fstat(fd, &status) != 0) {
    close(fd);
    return false;
  }
  if (levels_.size() >= kOpenLevels) {
    int& farthest = levels_[levels_.size() - kOpenLevels].fd;
    if (farthest >= 0) close(std::exchange(farthest, -1));
  }
  if (path_ != "/") path_ += '/';
  path_ += name;
  levels_.push_back({end, status.st_dev, status.st_ino, fd});
  return true;
}

bool DirectoryAnchor::IsLevel(int directory, const char* path, std::size_t index) const {
  struct stat status;
  return fstatat(directory, path, &status, *path == '\0' ? AT_EMPTY_PATH : 0) == 0 &&
         status.st_dev == levels_[index].device && status.st_ino == levels_[index].inode;
}

bool DirectoryAnchor::StillNamed(std::size_t index) const {
  const Level& level = levels_[index];
  if (level.end == 1) return true;
  const std::size_t slash = path_.rfind('/', level.end - 1);
  const std::string_view name(path_.data() + slash + 1, level.end - slash - 1);
  // A directory has one parent: the open parent level holding it under its name says both at once.
  if (index > 0 && levels_[index - 1].fd >= 0) {
    return IsLevel(levels_[index - 1].fd, std::string(name).c_str(), index);
  }
  const std::string in_parent = "../" + std::string(name);
  return IsLevel(level.fd, in_parent.c_str(), index) &&
         (index == 0 || IsLevel(level.fd, "..", index - 1));
}

bool DirectoryAnchor::Ascend(std::size_t index) {
  Level& level = levels_[index];
  const int fd = OpenDirectoryAt(levels_[index + 1].fd, "..");
  if (fd < 0) return false;
  if (!IsLevel(fd, "", index)) {
    close(fd);
    return false;
  }
  level.fd = fd;
  Truncate(index + kOpenLevels);
  return true;
}

int DirectoryAnchor::Reach(std::string_view directory) {
  if (!enabled_) return -1;
  const std::size_t common = CommonPrefixLength(directory, path_);
  // What `directory` shares with the kept path is plain: only the rest is looked at.
  if (!IsPlainFrom(directory, common > 0 ? directory.rfind('/', common - 1) : 0)) return -1;
  // The deepest kept level that `directory` lies in.
  std::size_t kept = levels_.size();
  for (; kept > 0; --kept) {
    const std::size_t end = levels_[kept - 1].end;
    if (end <= common && (end == 1 || end == directory.size() || directory[end] == '/')) break;
  }
  if (kept == 0) return Restart(directory) ? levels_.back().fd : -1;
  const std::size_t target = kept - 1;
  const std::size_t start = NamesStart(levels_[target].end);
  const std::string_view below =
      start < directory.size() ? directory.substr(start) : std::string_view();
  const std::size_t down =
      below.empty() ? 0 : static_cast<std::size_t>(std::count(below.begin(), below.end(), '/')) + 1;
  std::size_t open = levels_.size() - 1;
  while (open > 0 && levels_[open - 1].fd >= 0) --open;
  const std::size_t up = open > target ? open - target : 0;
  if (up + down > kMostSteps) return Restart(directory) ? levels_.back().fd : -1;
  for (std::size_t index = open; index > target; --index) {
    if (!Ascend(index - 1)) return Restart(directory) ? levels_.back().fd : -1;
  }
  if (!StillNamed(target)) return Restart(directory) ? levels_.back().fd : -1;
  if (down == 0) return levels_[target].fd;
  Truncate(target + 1);
  for (std::size_t at = start; at < directory.size();) {
    const std::size_t end = std::min(directory.find('/', at), directory.size());
    if (!Descend(directory.substr(at, end - at), end)) return -1;
    at = end + 1;
  }
  return levels_.back().fd;
}

}  // namespace tarvik
