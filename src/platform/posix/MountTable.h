#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarvik {

// A mounted file system that holds the user's files, as the drive table needs it.
struct MountedVolume {
  std::string mount_point;
  std::string source;  // the device or share it was mounted from
  std::string fs_type;
  unsigned type = 0;  // kDrive*
  int mount_id = 0;   // the kernel's number of this mount, unique while it is mounted
  // The folder of its file system that it shows: "/" but for a bind mount of a subfolder.
  std::string root = "/";
};

// The volumes of a mount table in /proc/self/mountinfo format, in table order: kernel file
// systems, anything below /proc, /sys and /dev, tmpfs below /run (but /run/media) and bind
// mounts of single files are left out; a mount point mounted over keeps its place and takes
// the properties of the mount on top. Removable devices are recognised through the sysfs
// tree at `sysfs_root`.
std::vector<MountedVolume> ParseMountInfo(std::string_view mountinfo,
                                          const std::string& sysfs_root);

// Whether an absolute POSIX path is `dir` or lies below it ("/media/cd" is below "/media"
// and "/", "/media/cdrom" is not below "/media/cd").
bool IsAtOrBelow(std::string_view path, std::string_view dir);

// The volumes of the running system mounted at or below a directory.
std::vector<MountedVolume> ReadMountTable(const std::string& below);

}  // namespace tarvik
