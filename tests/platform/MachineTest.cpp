#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "platform/ErrorCodes.h"
#include "platform/posix/PosixPlatform.h"

namespace tarvik {
namespace {

// The platform over the machine's own mount table and working directory.
TEST(MachineTest, RootIsDriveCAndTheWorkingDirectoryIsCurrent) {
  PosixPlatform platform;
  EXPECT_NE(platform.LogicalDrives() & (1u << 2), 0u);
  EXPECT_EQ(platform.MountPointOf("C:\\"), "/");
  EXPECT_GE(platform.DriveType("C:\\"), kDriveRemovable);
  VolumeInfo info;
  ASSERT_EQ(platform.VolumeInformation("C:\\", info), kNoError);
  EXPECT_FALSE(info.label.empty());
  EXPECT_EQ(info.flags, kVolumeCaseSensitiveSearch | kVolumeCasePreservedNames);
  EXPECT_GT(platform.TotalCapacity("C:\\"), 0);
  EXPECT_EQ(platform.CurrentDirectory(),
            platform.WindowsPathOf(std::filesystem::current_path().string()));
  EXPECT_EQ(platform.WindowsPathOf("/"), "C:\\");
}

TEST(MachineTest, ProgramPathIsThisTestInWindowsForm) {
  PosixPlatform platform;
  const std::string path = platform.ProgramPath();
  EXPECT_EQ(path, platform.WindowsPathOf(std::filesystem::read_symlink("/proc/self/exe")));
  EXPECT_TRUE(path.ends_with("\\tarvik_platform_tests")) << path;
  EXPECT_TRUE(platform.FileExists(path));
}

TEST(MachineTest, LocalDateAndTimeAreGiven) {
  PosixPlatform platform;
  const LocalDateTime now = platform.Now();
  EXPECT_FALSE(now.short_date.empty());
  EXPECT_FALSE(now.long_time.empty());
}

}  // namespace
}  // namespace tarvik
