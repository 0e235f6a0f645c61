#include "platform/posix/MountTable.h"

#include <libmount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>

#include "platform/Platform.h"

namespace tarvik {

namespace {

constexpr std::array<std::string_view, 21> kKernelFileSystems = {
    "proc",    "sysfs",  "devtmpfs", "devpts",   "cgroup",      "cgroup2",    "securityfs",
    "pstore",  "bpf",    "debugfs",  "tracefs",  "mqueue",      "hugetlbfs",  "configfs",
    "fusectl", "autofs", "nsfs",     "efivarfs", "binfmt_misc", "rpc_pipefs", "selinuxfs"};

constexpr std::array<std::string_view, 8> kRemoteFileSystems = {
    "cifs", "smb3", "nfs", "nfs4", "9p", "fuse.sshfs", "ceph", "glusterfs"};

template <std::size_t N>
bool OneOf(const std::array<std::string_view, N>& list, std::string_view value) {
  return std::find(list.begin(), list.end(), value) != list.end();
}

bool IsSystemPlace(std::string_view target, std::string_view fs_type) {
  if (IsAtOrBelow(target, "/proc") || IsAtOrBelow(target, "/sys") || IsAtOrBelow(target, "/dev")) {
    return true;
  }
  return fs_type == "tmpfs" && IsAtOrBelow(target, "/run") && !IsAtOrBelow(target, "/run/media");
}

// A bind mount of a single file sits on a name that is not a directory.
bool IsFileMount(const std::string& target) {
  struct stat status;
  return stat(target.c_str(), &status) == 0 && !S_ISDIR(status.st_mode);
}

bool ReadsOne(const std::string& path) {
  std::ifstream in(path);
  std::string value;
  return in >> value && value == "1";
}

// A partition has no "removable" of its own; its parent disk has.
bool IsRemovableDevice(dev_t device, const std::string& sysfs_root) {
  if (major(device) == 0) return false;
  const std::string dir = sysfs_root + "/dev/block/" + std::to_string(major(device)) + ':' +
                          std::to_string(minor(device));
  return ReadsOne(dir + "/removable") || ReadsOne(dir + "/../removable");
}

unsigned DriveTypeOf(std::string_view fs_type, std::string_view source, dev_t device,
                     const std::string& sysfs_root) {
  if (OneOf(kRemoteFileSystems, fs_type)) return kDriveRemote;
  if (fs_type == "tmpfs" || fs_type == "ramfs") return kDriveRamDisk;
  if (fs_type == "iso9660" || fs_type == "udf" || source.starts_with("/dev/sr")) {
    return kDriveCdrom;
  }
  if (IsRemovableDevice(device, sysfs_root)) return kDriveRemovable;
  return kDriveFixed;
}

std::string Text(const char* value) { return value != nullptr ? value : ""; }

struct TableDeleter {
  void operator()(libmnt_table* table) const { mnt_unref_table(table); }
};
struct IterDeleter {
  void operator()(libmnt_iter* iter) const { mnt_free_iter(iter); }
};

}  // namespace

std::vector<MountedVolume> ParseMountInfo(std::string_view mountinfo,
                                          const std::string& sysfs_root) {
  std::vector<MountedVolume> volumes;
  std::string text(mountinfo);
  if (text.empty()) return volumes;
  FILE* stream = fmemopen(text.data(), text.size(), "r");
  if (stream == nullptr) return volumes;
  std::unique_ptr<libmnt_table, TableDeleter> table(mnt_new_table());
  const int parsed = table ? mnt_table_parse_stream(table.get(), stream, "mountinfo") : -1;
  fclose(stream);
  if (parsed != 0) return volumes;

  std::unique_ptr<libmnt_iter, IterDeleter> iter(mnt_new_iter(MNT_ITER_FORWARD));
  libmnt_fs* fs = nullptr;
  while (mnt_table_next_fs(table.get(), iter.get(), &fs) == 0) {
    const std::string target = Text(mnt_fs_get_target(fs));
    const std::string fs_type = Text(mnt_fs_get_fstype(fs));
    const std::string source = Text(mnt_fs_get_source(fs));
    if (target.empty() || target[0] != '/') continue;
    if (OneOf(kKernelFileSystems, fs_type) || IsSystemPlace(target, fs_type)) continue;
    if (target != "/" && IsFileMount(target)) continue;
    MountedVolume volume{target, source, fs_type,
                         DriveTypeOf(fs_type, source, mnt_fs_get_devno(fs), sysfs_root),
                         mnt_fs_get_id(fs), mnt_fs_get_root(fs) ? mnt_fs_get_root(fs) : "/"};
    const auto same = std::find_if(volumes.begin(), volumes.end(),
                                   [&](const MountedVolume& v) { return v.mount_point == target; });
    if (same != volumes.end()) {
      *same = std::move(volume);
    } else {
      volumes.push_back(std::move(volume));
    }
  }
  return volumes;
}

bool IsAtOrBelow(std::string_view path, std::string_view dir) {
  if (dir == "/") return path.starts_with('/');
  return path.starts_with(dir) && (path.size() == dir.size() || path[dir.size()] == '/');
}

std::vector<MountedVolume> ReadMountTable(const std::string& below) {
  std::ifstream in("/proc/self/mountinfo");
  std::ostringstream text;
  text << in.rdbuf();
  std::vector<MountedVolume> volumes = ParseMountInfo(text.str(), "/sys");
  std::erase_if(volumes, [&](const MountedVolume& volume) {
    return !IsAtOrBelow(volume.mount_point, below);
  });
  return volumes;
}

}  // namespace tarvik
