// tarvik-drives: prints the drive table the program sees on this machine.
#include <cstdio>
#include <string>

#include "platform/ErrorCodes.h"
#include "platform/posix/PosixPlatform.h"

namespace {

const char* TypeName(unsigned type) {
  switch (type) {
    case tarvik::kDriveRemovable:
      return "removable";
    case tarvik::kDriveFixed:
      return "fixed";
    case tarvik::kDriveRemote:
      return "remote";
    case tarvik::kDriveCdrom:
      return "cd-rom";
    case tarvik::kDriveRamDisk:
      return "ram disk";
    default:
      return "unknown";
  }
}

}  // namespace

int main() {
  tarvik::PosixPlatform platform;
  const std::uint32_t drives = platform.LogicalDrives();
  std::printf("%-6s %-10s %-24s %-40s %s\n", "drive", "type", "label", "mount point", "capacity");
  for (int i = 0; i < 26; ++i) {
    if ((drives & (1u << i)) == 0) continue;
    const std::string root = std::string(1, static_cast<char>('A' + i)) + ":\\";
    tarvik::VolumeInfo info;
    const int code = platform.VolumeInformation(root, info);
    std::printf("%-6s %-10s %-24s %-40s %lld\n", root.c_str(), TypeName(platform.DriveType(root)),
                code == tarvik::kNoError ? info.label.c_str() : "(not ready)",
                platform.MountPointOf(root).c_str(),
                static_cast<long long>(platform.TotalCapacity(root)));
  }
  std::printf("current directory: %s\nprogram: %s\n", platform.CurrentDirectory().c_str(),
              platform.ProgramPath().c_str());
  return 0;
}
