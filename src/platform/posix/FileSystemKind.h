#pragma once

namespace tarvik {

// What the program relies on about a file system, told by its type (statfs's f_type).
enum class FileSystemKind {
  kMemory,     // kept in memory (tmpfs, ramfs): a read never waits for a medium
  kLocalDisk,  // ext2/3/4, XFS, Btrfs: tell at once whether data is in memory (RWF_NOWAIT)
  kOther,      // anything else: discs, FAT, FUSE, network file systems
};

FileSystemKind KindOfFileSystem(long type);

// Whether its times are nanoseconds from the kernel's clock; others may be coarse (FAT keeps
// two-second times).
inline bool KeepsFineTimes(FileSystemKind kind) { return kind != FileSystemKind::kOther; }

// Whether reads of its regular files are the same with O_NONBLOCK set; others may hand the
// flag on (FUSE passes it to its server).
inline bool IgnoresNonBlocking(FileSystemKind kind) { return kind != FileSystemKind::kOther; }

// Whether its open of a regular file does no I/O of its own, so that a file just opened opens
// again alike; elsewhere (a damaged disc, FUSE) each open is a test of the medium.
inline bool ReopensAlike(FileSystemKind kind) { return kind != FileSystemKind::kOther; }

}  // namespace tarvik
