#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace tarvik {

// Waits until directories changed just now count as settled on a file system with fine
// times, so that listings of them are kept during a command.
void SettleDirectories();

// A directory made under $TMPDIR (or /tmp) for one test and removed with all its contents,
// whatever permissions the test left, when the object goes. The helpers take paths relative
// to it, create missing parent directories and return the full POSIX path they made;
// failures throw std::runtime_error so that a test never runs on a half-built tree.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  // The full path of a relative one ("" gives the directory itself).
  std::string Path(std::string_view relative) const;

  std::string MakeFile(std::string_view relative, std::string_view content = {});
  // A file of `size` bytes of a repeating, position-dependent pattern.
  std::string MakeFileOfSize(std::string_view relative, std::int64_t size);
  // A file of `size` bytes that takes no disk space (a hole throughout).
  std::string MakeSparseFile(std::string_view relative, std::int64_t size);
  std::string MakeDir(std::string_view relative);
  std::string MakeSymlink(std::string_view relative, std::string_view target);
  std::string MakeFifo(std::string_view relative);
  // A UNIX socket bound at the path; the socket itself is closed, its node remains.
  std::string MakeSocket(std::string_view relative);
  void Chmod(std::string_view relative, mode_t mode);
  void AppendToFile(std::string_view relative, std::string_view content);
  std::string ReadFile(std::string_view relative) const;
  void Remove(std::string_view relative);

 private:
  void MakeParents(std::string_view relative);

  std::string path_;
};

}  // namespace tarvik
