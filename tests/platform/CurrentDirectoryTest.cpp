#include <gtest/gtest.h>

#include <ostream>

#include "PlatformFixture.h"

namespace tarvik {
namespace {

// Two drives, C: and D:, each a directory of the one temporary tree.
class TwoDriveTest : public TempDriveTest<> {
 protected:
  TwoDriveTest() {
    tmp_.MakeDir("c/work/sub");
    tmp_.MakeDir("c/other");
    tmp_.MakeDir("c/work/line\nfeed ");
    tmp_.MakeDir("d/data/deep");
    tmp_.MakeFile("c/work/file.txt", "x");
    StartPlatform("C:\\work", {TempDrive('C', tmp_.Path("c"), kDriveFixed, "SYS"),
                               TempDrive('D', tmp_.Path("d"), kDriveRemovable, "STICK")});
  }
};

TEST_F(TwoDriveTest, EachDriveRemembersItsDirectory) {
  EXPECT_EQ(platform_->CurrentDirectory(), "C:\\work");
  // A drive not visited yet starts at its root.
  ASSERT_EQ(platform_->SetCurrentDirectory("D:"), kNoError);
  EXPECT_EQ(platform_->CurrentDirectory(), "D:\\");
  ASSERT_EQ(platform_->SetCurrentDirectory("data\\deep"), kNoError);
  EXPECT_EQ(platform_->CurrentDirectory(), "D:\\data\\deep");
  ASSERT_EQ(platform_->SetCurrentDirectory("c:"), kNoError);
  EXPECT_EQ(platform_->CurrentDirectory(), "C:\\work");
  ASSERT_EQ(platform_->SetCurrentDirectory("D:"), kNoError);
  EXPECT_EQ(platform_->CurrentDirectory(), "D:\\data\\deep");
  // "X:name" is relative to X's remembered directory, also from another drive.
  ASSERT_EQ(platform_->SetCurrentDirectory("C:sub"), kNoError);
  EXPECT_EQ(platform_->CurrentDirectory(), "C:\\work\\sub");
}

struct ResolveCase {
  const char* path;
  const char* current_after;  // nullptr: the change fails with `code`
  int code;
};

void PrintTo(const ResolveCase& c, std::ostream* out) { *out << '"' << c.path << '"'; }

class ResolveTest : public TwoDriveTest, public ::testing::WithParamInterface<ResolveCase> {};

TEST_P(ResolveTest, ChangesDirectoryAsWindowsResolvesIt) {
  const ResolveCase& c = GetParam();
  ASSERT_EQ(platform_->SetCurrentDirectory("D:\\data"), kNoError);
  ASSERT_EQ(platform_->SetCurrentDirectory("C:\\work"), kNoError);
  EXPECT_EQ(platform_->SetCurrentDirectory(c.path), c.code) << c.path;
  EXPECT_EQ(platform_->CurrentDirectory(),
            c.current_after != nullptr ? c.current_after : "C:\\work")
      << c.path;
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ResolveTest,
    ::testing::Values(
        ResolveCase{"sub", "C:\\work\\sub", kNoError},
        ResolveCase{".\\sub\\", "C:\\work\\sub", kNoError}, ResolveCase{"..", "C:\\", kNoError},
        ResolveCase{"..\\..\\..", "C:\\", kNoError}, ResolveCase{"\\other", "C:\\other", kNoError},
        ResolveCase{"/other/../work/sub", "C:\\work\\sub", kNoError},
        ResolveCase{"C:\\work\\sub\\", "C:\\work\\sub", kNoError},
        ResolveCase{"C:\\\\work\\\\sub", "C:\\work\\sub", kNoError},
        ResolveCase{"D:deep", "D:\\data\\deep", kNoError}, ResolveCase{"d:\\", "D:\\", kNoError},
        ResolveCase{".", "C:\\work", kNoError}, ResolveCase{"C:", "C:\\work", kNoError},
        ResolveCase{"\\work", "C:\\work", kNoError}, ResolveCase{"D:\\data", "D:\\data", kNoError},
        ResolveCase{"line\nfeed ", "C:\\work\\line\uF00Afeed\uF020", kNoError},
        // Failures leave the current directory as it was.
        ResolveCase{"missing", nullptr, kErrFileNotFound},
        // The previous directory's names on the current drive are not the previous directory.
        ResolveCase{"\\data", nullptr, kErrFileNotFound},
        ResolveCase{"missing\\deeper", nullptr, kErrPathNotFound},
        ResolveCase{"file.txt", nullptr, kErrPathNotFound},
        ResolveCase{"Q:\\", nullptr, kErrInvalidDrive},
        ResolveCase{"Q:", nullptr, kErrInvalidDrive}, ResolveCase{"", nullptr, kErrPathNotFound},
        ResolveCase{"\\\\server\\share", nullptr, kErrPathNotFound},
        ResolveCase{"sub*", nullptr, kErrInvalidName},
        ResolveCase{"sub\\a:b", nullptr, kErrInvalidName},
        ResolveCase{"a:b", nullptr, kErrInvalidDrive}));

TEST_F(TwoDriveTest, DirectoryWithoutSearchPermissionCannotBeEntered) {
  if (geteuid() == 0) GTEST_SKIP() << "root enters every directory";
  tmp_.Chmod("c/other", 0600);
  EXPECT_EQ(platform_->SetCurrentDirectory("C:\\other"), kErrAccessDenied);
}

// While listings are kept, entering a directory that the latest look showed needs no look of
// its own; a directory removed before a later look is then found missing as always.
TEST_F(TwoDriveTest, EnteringAfterAnotherLookSeesADirectoryRemoved) {
  platform_->KeepListings(true);
  ASSERT_EQ(platform_->SetCurrentDirectory("C:\\work\\sub"), kNoError);
  EXPECT_EQ(platform_->SetCurrentDirectory("C:\\work"), kNoError);
  tmp_.Remove("c/work/sub");
  EXPECT_TRUE(platform_->FileExists("C:\\work\\file.txt"));
  EXPECT_EQ(platform_->SetCurrentDirectory("C:\\work\\sub"), kErrFileNotFound);
  EXPECT_EQ(platform_->CurrentDirectory(), "C:\\work");
}

TEST_F(TwoDriveTest, RelativeFileOperationsUseTheCurrentDirectory) {
  FileHandle file = kNoFile;
  EXPECT_EQ(platform_->OpenForReading("file.txt", file), kNoError);
  platform_->Close(file);
  EXPECT_TRUE(platform_->FileExists("C:file.txt"));
  ASSERT_EQ(platform_->SetCurrentDirectory("D:\\data"), kNoError);
  EXPECT_FALSE(platform_->FileExists("file.txt"));
  EXPECT_TRUE(platform_->FileExists("C:file.txt"));
  EXPECT_TRUE(platform_->FileExists("C:..\\work\\file.txt"));
}

TEST_F(TwoDriveTest, DriveTableOfItsOwn) {
  EXPECT_EQ(platform_->LogicalDrives(), (1u << 2) | (1u << 3));
  EXPECT_EQ(platform_->DriveType("C:\\"), kDriveFixed);
  EXPECT_EQ(platform_->DriveType("d:\\"), kDriveRemovable);
  EXPECT_EQ(platform_->DriveType("E:\\"), kDriveNoRootDir);
  EXPECT_EQ(platform_->DriveType("C:\\work"), kDriveNoRootDir);
  VolumeInfo info;
  ASSERT_EQ(platform_->VolumeInformation("D:\\", info), kNoError);
  EXPECT_EQ(info.label, "STICK");
  EXPECT_EQ(info.flags, kPosixVolumeFlags);
  EXPECT_EQ(platform_->VolumeInformation("E:\\", info), kErrInvalidDrive);
  EXPECT_GT(platform_->TotalCapacity("C:\\"), 0);
  EXPECT_EQ(platform_->TotalCapacity("E:\\"), -1);
  std::string remote = "left over";
  EXPECT_EQ(platform_->NetworkConnection("D:", remote), kErrNotConnected);
  EXPECT_EQ(remote, "");
}

TEST_F(TwoDriveTest, DriveWhoseDirectoryWentAwayIsNotReady) {
  tmp_.Remove("d");
  VolumeInfo info;
  EXPECT_EQ(platform_->VolumeInformation("D:\\", info), kErrNotReady);
  EXPECT_EQ(platform_->TotalCapacity("D:\\"), -1);
  EXPECT_EQ(platform_->SetCurrentDirectory("D:\\"), kErrPathNotFound);
}

TEST(PlatformConstructionTest, RefusesCurrentDirectoryOutsideItsDrives) {
  TempDir dir;
  const std::vector<DriveSpec> drives{TempDrive('C', dir.path(), kDriveFixed, "")};
  EXPECT_THROW(PosixPlatform(drives, "C:\\missing"), std::invalid_argument);
  EXPECT_THROW(PosixPlatform(drives, "D:\\"), std::invalid_argument);
  EXPECT_NO_THROW(PosixPlatform(drives, "c:"));
}

}  // namespace
}  // namespace tarvik
