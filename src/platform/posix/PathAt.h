#pragma once

#include <string>

namespace tarvik {

class DirectoryAnchor;

// A POSIX path as the kernel takes it whatever its length. A path shorter than PATH_MAX is used
// as it stands; a longer one is reached relative to a directory on its way, opened in steps
// that are each shorter than PATH_MAX, so that files at any depth can be looked at and opened.
// Given an anchor, a path is reached from the directory the anchor keeps of its parent, where it
// has one: that descriptor stays valid only until the anchor reaches another path.
//
//   const PathAt at(posix_path);
//   statx(at.directory(), at.path(), ...);   // fails with at.error() when the way is closed
class PathAt {
 public:
  explicit PathAt(const std::string& posix_path, DirectoryAnchor* anchor = nullptr);
  ~PathAt();
  PathAt(const PathAt&) = delete;
  PathAt& operator=(const PathAt&) = delete;

  // AT_FDCWD, or the directory that path() is relative to; -1 when the way to it could not be
  // opened.
  int directory() const { return directory_; }
  const char* path() const { return path_.c_str(); }
  // The errno of opening the way, 0 when it is open. The calls made through a way that is not
  // open fail with EBADF, which callers that check error() first never see.
  int error() const { return error_; }

 private:
  int directory_;
  bool owned_ = false;  // whether directory_ was opened here
  std::string path_;
  int error_ = 0;
};

}  // namespace tarvik
