#include "platform/posix/DirectoryView.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/Platform.h"
#include "platform/posix/PathAt.h"

namespace tarvik {

namespace {

constexpr unsigned kStatxMask = STATX_TYPE | STATX_MODE | STATX_SIZE | STATX_INO | STATX_MNT_ID;

dev_t DeviceOf(const struct statx& status) {
  return makedev(status.stx_dev_major, status.stx_dev_minor);
}

// Looking at a directory must not mount anything on the way.
int StatAt(int dir_fd, const char* name, int flags, struct statx& status) {
  return statx(dir_fd, name, flags | AT_NO_AUTOMOUNT, kStatxMask, &status);
}

// What a directory entry's type says of its kind; nothing for a link or an unknown type.
std::optional<EntryStatus::Kind> KindOfType(unsigned char type) {
  switch (type) {
    case DT_REG:
      return EntryStatus::Kind::kFile;
    case DT_DIR:
      return EntryStatus::Kind::kDirectory;
    case DT_FIFO:
    case DT_SOCK:
    case DT_CHR:
    case DT_BLK:
      return EntryStatus::Kind::kInvisible;
    default:
      return std::nullopt;
  }
}

// Whether `path` relative to `directory` lies on a file system mounted read-only: looked at through
// a descriptor, which reaches it at any depth.
bool IsOnReadOnlyFileSystem(int directory, const char* path) {
  const int fd = openat(directory, path, O_PATH | O_CLOEXEC);
  if (fd < 0) return false;
  struct statvfs info;
  const bool read_only = fstatvfs(fd, &info) == 0 && (info.f_flag & ST_RDONLY) != 0;
  close(fd);
  return read_only;
}

}  // namespace

bool IsHiddenName(std::string_view name) {
  return name.starts_with('.') && name != "." && name != "..";
}

DirectoryView::DirectoryView(const std::string& posix_path, DirectoryAnchor* anchor) {
  const PathAt at(posix_path, anchor);
  if (at.error() != 0) {
    error_ = at.error();
    return;
  }
  do {
    fd_ = openat(at.directory(), at.path(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOCTTY);
  } while (fd_ < 0 && errno == EINTR);
  if (fd_ < 0) {
    error_ = errno;
    return;
  }
  struct statx status;
  if (StatAt(fd_, "", AT_EMPTY_PATH, status) == 0) {
    has_mount_id_ = (status.stx_mask & STATX_MNT_ID) != 0;
    mount_id_ = status.stx_mnt_id;
    device_ = DeviceOf(status);
    owner_writes_ = (status.stx_mode & S_IWUSR) != 0;
  }
}

const DirectoryView::FileSystem& DirectoryView::LearnFileSystem() const {
  // Asked only when needed: most looks into a directory only want an entry.
  if (!file_system_) {
    struct statfs info;
    file_system_.emplace();
    if (fstatfs(fd_, &info) == 0) {
      file_system_->read_only = (info.f_flags & ST_RDONLY) != 0;
      file_system_->kind = KindOfFileSystem(info.f_type);
    }
  }
  return *file_system_;
}

bool DirectoryView::ReadOnlyFileSystem() const { return LearnFileSystem().read_only; }

FileSystemKind DirectoryView::file_system() const { return LearnFileSystem().kind; }

DirectoryView::~DirectoryView() {
  if (fd_ >= 0) close(fd_);
}

std::uint32_t DirectoryView::attributes() const {
  return kAttrDirectory | (!owner_writes_ || ReadOnlyFileSystem() ? kAttrReadOnly : 0);
}

namespace {

// The status of an entry from its statx, given whether it lies on its directory's mount and how
// to learn whether that mount is read-only. `status` is the entry's own when it is a link.
template <typename ReadOnlyFs>
EntryStatus StatusOf(const std::string& name, bool link, const struct statx& status,
                     bool same_mount, ReadOnlyFs read_only_fs) {
  EntryStatus entry;
  entry.device = makedev(status.stx_dev_major, status.stx_dev_minor);
  entry.inode = status.stx_ino;
  const bool dot_entry = name == "." || name == "..";
  if (IsHiddenName(name)) entry.attributes |= kAttrHidden;
  if (S_ISREG(status.stx_mode)) {
    entry.kind = EntryStatus::Kind::kFile;
    entry.size = static_cast<std::int64_t>(status.stx_size);
  } else if (S_ISDIR(status.stx_mode)) {
    entry.kind = EntryStatus::Kind::kDirectory;
    entry.attributes |= kAttrDirectory;
  } else {
    entry.kind = EntryStatus::Kind::kInvisible;
    return entry;
  }
  if ((status.stx_mode & S_IWUSR) == 0 || read_only_fs()) entry.attributes |= kAttrReadOnly;
  if (entry.kind == EntryStatus::Kind::kDirectory && !dot_entry) {
    const bool mount_root = (status.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT) != 0
                                ? (status.stx_attributes & STATX_ATTR_MOUNT_ROOT) != 0
                                : !same_mount;
    if (link || mount_root) entry.attributes |= kAttrSystem;
  }
  return entry;
}

// Looks at the entry `name`, reached as `at` relative to `dir_fd`, without following a final
// link, then through it; false with `entry` filled when nothing more is to be learnt (missing,
// or a dangling link).
bool StatBothWays(int dir_fd, const char* at, const std::string& name, struct statx& status,
                  bool& link, EntryStatus& entry) {
  if (StatAt(dir_fd, at, AT_SYMLINK_NOFOLLOW, status) != 0) {
    entry.error = errno;
    return false;
  }
  link = S_ISLNK(status.stx_mode);
  if (link && StatAt(dir_fd, at, 0, status) != 0) {
    entry.kind = EntryStatus::Kind::kFile;
    entry.dangling = true;
    if (IsHiddenName(name)) entry.attributes |= kAttrHidden;
    return false;
  }
  return true;
}

}  // namespace

EntryStatus StatEntry(const std::string& directory, const std::string& name, EntryDetail detail,
                      DirectoryAnchor* anchor) {
  const std::string path = directory == "/" ? '/' + name : directory + '/' + name;
  EntryStatus entry;
  struct statx status;
  bool link = false;
  const PathAt at(path, anchor);
  if (at.error() != 0) {
    entry.error = at.error();
    return entry;
  }
  if (!StatBothWays(at.directory(), at.path(), name, status, link, entry)) return entry;
  bool same_mount = true;
  if ((status.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT) == 0) {
    // A kernel that does not mark mount roots: compare with the directory's own mount.
    struct statx parent;
    // Walked whole: reaching it from the anchor would close the descriptor `at` is relative to.
    const PathAt parent_at(directory);
    same_mount = StatAt(parent_at.directory(), parent_at.path(), 0, parent) == 0 &&
                 ((parent.stx_mask & status.stx_mask & STATX_MNT_ID) != 0
                      ? parent.stx_mnt_id == status.stx_mnt_id
                      : DeviceOf(parent) == DeviceOf(status));
  }
  return StatusOf(name, link, status, same_mount, [&] {
    return detail == EntryDetail::kAttributes && IsOnReadOnlyFileSystem(at.directory(), at.path());
  });
}

EntryStatus DirectoryView::Stat(const std::string& name) const {
  EntryStatus entry;
  struct statx status;
  bool link = false;
  if (!StatBothWays(fd_, name.c_str(), name, status, link, entry)) return entry;
  const bool same_mount = has_mount_id_ && (status.stx_mask & STATX_MNT_ID) != 0
                              ? status.stx_mnt_id == mount_id_
                              : DeviceOf(status) == device_;
  return StatusOf(name, link, status, same_mount, [&] {
    return same_mount ? ReadOnlyFileSystem() : IsOnReadOnlyFileSystem(fd_, name.c_str());
  });
}

std::vector<ListedName> DirectoryView::Names(int& error) const {
  std::vector<ListedName> names;
  error = 0;
  // Read straight from the view's own descriptor, from its start: a directory stream would
  // cost a descriptor of its own and the calls that set it up.
  if (names_read_ && lseek(fd_, 0, SEEK_SET) != 0) {
    error = errno;
    return names;
  }
  names_read_ = true;
  std::vector<char> buffer(32 * 1024);
  while (true) {
    const ssize_t got = getdents64(fd_, buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      error = errno;
      break;
    }
    if (got == 0) break;
    for (ssize_t at = 0; at < got;) {
      const auto* item = reinterpret_cast<const dirent64*>(buffer.data() + at);
      at += item->d_reclen;
      const std::string_view name = item->d_name;
      if (name != "." && name != "..") {
        names.push_back({std::string(name), KindOfType(item->d_type), item->d_ino});
      }
    }
  }
  std::sort(names.begin(), names.end(),
            [](const ListedName& a, const ListedName& b) { return a.name < b.name; });
  return names;
}

}  // namespace tarvik
