#include "platform/posix/PathAt.h"

#include <fcntl.h>
#include <limits.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>

namespace tarvik {

namespace {

// The longest prefix of `path` that ends before a '/' and is shorter than PATH_MAX; empty when its
// first name alone is that long.
std::string_view Step(std::string_view path) {
  const std::size_t slash = path.rfind('/', PATH_MAX - 1);
  return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash);
}

}  // namespace

PathAt::PathAt(const std::string& posix_path) : directory_(AT_FDCWD), path_(posix_path) {
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
    if (directory_ != AT_FDCWD) close(directory_);
    directory_ = next;
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
  if (directory_ >= 0) close(directory_);
}

}  // namespace tarvik
