#include "platform/posix/FileSystemKind.h"

#include <linux/magic.h>

namespace tarvik {

FileSystemKind KindOfFileSystem(long type) {
  switch (type) {
    case TMPFS_MAGIC:
    case RAMFS_MAGIC:
      return FileSystemKind::kMemory;
    case EXT4_SUPER_MAGIC:
    case XFS_SUPER_MAGIC:
    case BTRFS_SUPER_MAGIC:
      return FileSystemKind::kLocalDisk;
    default:
      return FileSystemKind::kOther;
  }
}

}  // namespace tarvik
