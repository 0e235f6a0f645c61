#pragma once

#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/posix/FileSystemKind.h"

namespace tarvik {

class DirectoryAnchor;

// What the program sees of one directory entry.
struct EntryStatus {
  enum class Kind {
    kMissing,    // no such entry; `error` holds the errno
    kInvisible,  // a FIFO, socket or device node: never listed, never opened
    kFile,       // a regular file, a link to one, or a dangling link
    kDirectory,  // a directory or a link to one
  };
  Kind kind = Kind::kMissing;
  int error = 0;
  bool dangling = false;  // a link that leads nowhere (or in circles)
  std::uint32_t attributes = 0;
  std::int64_t size = 0;
  dev_t device = 0;  // of what a link leads to, for a link
  ino_t inode = 0;
};

// Whether a name makes its entry hidden: it starts with "." but is neither "." nor "..".
bool IsHiddenName(std::string_view name);

// A name read from a directory, with the kind the directory gives for it without a stat:
// empty when only a stat can tell (a link, or a file system that does not say).
struct ListedName {
  std::string name;
  std::optional<EntryStatus::Kind> kind;
  ino_t inode = 0;  // as the directory gives it: of the entry itself, not what it mounts
};

// What a look at an entry asks for: its kind alone, or its attributes too.
enum class EntryDetail { kKind, kAttributes };

// The status of the entry `name` of the directory `directory` (POSIX paths), with the
// attribute rules of DirectoryView, looked at through its full path: no directory is opened.
// With EntryDetail::kKind the read-only attribute is not looked for, which spares a call. The
// path is reached from `anchor` where it keeps its directory (PathAt).
EntryStatus StatEntry(const std::string& directory, const std::string& name, EntryDetail detail,
                      DirectoryAnchor* anchor = nullptr);

// An open directory whose entries are looked at by name, with the attribute rules applied:
// directory; hidden for a name starting with "." (but "." and ".." themselves); read-only
// when the owner may not write or the file system is mounted read-only; system for a
// directory that is the root of another mount or that is reached through a symbolic link,
// so that a walk stays on one volume and never loops; never archive.
class DirectoryView {
 public:
  // Opened from `anchor` where it keeps the directory's parent (PathAt).
  explicit DirectoryView(const std::string& posix_path, DirectoryAnchor* anchor = nullptr);
  ~DirectoryView();
  DirectoryView(const DirectoryView&) = delete;
  DirectoryView& operator=(const DirectoryView&) = delete;

  // errno of opening the directory, 0 when it is open.
  int error() const { return error_; }
  int fd() const { return fd_; }
  // Attributes of the directory itself (directory, read-only).
  std::uint32_t attributes() const;
  // The device of the directory's file system. While the view is open, that file system stays
  // mounted or at least alive, so no other can have this device.
  dev_t device() const { return device_; }
  FileSystemKind file_system() const;

  // The status of the entry `name` (a name on disk, no separators). "." and ".." are
  // never hidden or system.
  EntryStatus Stat(const std::string& name) const;
  // The names in the directory other than "." and "..", in byte order. `error` is the errno
  // of a listing that failed part way (a damaged medium), 0 when it was read to its end.
  std::vector<ListedName> Names(int& error) const;

 private:
  bool ReadOnlyFileSystem() const;
  // What statfs tells of the directory's file system.
  struct FileSystem {
    bool read_only = false;
    FileSystemKind kind = FileSystemKind::kOther;
  };
  const FileSystem& LearnFileSystem() const;

  int fd_ = -1;
  int error_ = 0;
  std::uint64_t mount_id_ = 0;
  bool has_mount_id_ = false;
  dev_t device_ = 0;
  // Learnt when first needed.
  mutable std::optional<FileSystem> file_system_;
  bool owner_writes_ = true;
  // Whether the descriptor was read from, so that a second reading must go back to its start.
  mutable bool names_read_ = false;
};

}  // namespace tarvik
