#include "platform/posix/PathAt.h"

#include <fcntl.h>
#include <limits.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string_view>

#include "platform/posix/DirectoryAnchor.h"

namespace tarvik {

namespace {

// The longest prefix of `path` that ends before a '/' and is shorter than PATH_MAX; empty when its
// first name alone is that long.
std::string_view Step(std::string_view path) {
  const std::size_t slash = path.rfind('/', PATH_MAX - 1);
  return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash);
}

}  // namespace

PathAt::PathAt(const std::string& posix_path, DirectoryAnchor* anchor) : directory_(AT_FDCWD) {
  const std::size_t slash = posix_path.rfind('/');
  if (anchor != nullptr && slash != std::string::npos && slash + 1 < posix_path.size()) {
    const int parent =
        anchor->Reach(std::string_view(posix_path).substr(0, std::max<std::size_t>(slash, 1)));
    if (parent >= 0) {
      directory_ = parent;
      path_.assign(posix_path, slash + 1);
      return;
    }
  }
  std::string_view rest(posix_path);
  while (rest.size() >= PATH_MAX) {
    const std::string_view step = Step(rest);
    if (step.empty()) {
      error_ = ENAMETOOLONG;
      break;
    }
    int next;
    do {
      next = openat(directory_, std::string(step).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    } while (next < 0 && errno == EINTR);
    if (owned_) close(directory_);
    directory_ = next;
    owned_ = true;
    if (next < 0) {
      error_ = errno;
      break;
    }
    rest.remove_prefix(step.size());
    while (!rest.empty() && rest.front() == '/') rest.remove_prefix(1);
  }
  path_ = error_ != 0 ? std::string() : std::string(rest.empty() ? "." : rest);
}

PathAt::~PathAt() {
  if (owned_ && directory_ >= 0) close(directory_);
}

}  // namespace tarvik
