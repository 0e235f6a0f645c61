#pragma once

#include <string>

#include "platform/Platform.h"

namespace tarvik {

// What the latest look at the file system showed, while a command keeps listings. Until the next
// look, nothing the program sees can tell a change made since from one made a moment later, so a
// call that asks what it showed may take that as its own answer, as often as it comes. Every other
// look (a stamp, a listing, a status, an open, a read, a close of another file) forgets it.
class LatestLook {
 public:
  // A directory that may be searched, with every directory on the way to it (POSIX path).
  void Searchable(const std::string& directory);
  // A stamp of `directory` (POSIX path), and whether it was settled.
  void Stamped(const std::string& directory, const DirectoryStamp& stamp, bool settled);
  // A read of the open file `fd` that met its end.
  void Ended(int fd);
  // An open of `posix_path` that found a regular file and gave `fd`.
  void Opened(const std::string& posix_path, int fd);
  // An open of `posix_path` that failed with the errno `error`.
  void Failed(const std::string& posix_path, int error);
  void Forget();

  // Whether the latest look showed `directory` to be one that may be searched.
  bool ShowsSearchable(const std::string& directory) const;
  // Whether the latest look was a stamp of `directory`; if so, `stamp` and `settled` are its.
  bool ShowsStamp(const std::string& directory, DirectoryStamp& stamp, bool& settled) const;
  // Whether the latest look met the end of `fd`.
  bool ShowsEnd(int fd) const { return fd >= 0 && fd == ended_; }
  // Whether the latest look was an open that found a regular file at `posix_path`.
  bool ShowsFile(const std::string& posix_path) const {
    return opened_ >= 0 && posix_path == file_;
  }
  // Whether the latest look was the open that gave `fd`.
  bool ShowsOpened(int fd) const { return fd >= 0 && fd == opened_; }
  // Whether the latest look was an open that failed.
  bool ShowsFailedOpen() const { return failed_ != 0; }
  // The errno of the latest look when it was an open of `posix_path` that failed, else 0.
  int FailureAt(const std::string& posix_path) const {
    return failed_ != 0 && posix_path == file_ ? failed_ : 0;
  }

 private:
  std::string searchable_;  // empty when the latest look showed no directory
  std::string stamped_;     // the directory stamped, empty when the latest look was no stamp
  DirectoryStamp stamp_;
  bool settled_ = false;
  int ended_ = -1;    // -1 when it met the end of no file
  std::string file_;  // the file it opened or failed to open
  int opened_ = -1;   // -1 when it opened no file
  int failed_ = 0;    // the errno of an open of `file_` that failed, 0 for none
};

}  // namespace tarvik
