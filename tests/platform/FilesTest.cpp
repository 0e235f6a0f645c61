#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <ostream>
#include <vector>

#include "PlatformFixture.h"
#include "support/ScopedMount.h"

namespace tarvik {
namespace {

constexpr std::int64_t kFiveGiB = std::int64_t{5} << 30;

// Reads the whole file in blocks as the check does; returns the bytes delivered.
std::string ReadAll(Platform& platform, FileHandle file, std::size_t block) {
  std::string content;
  std::vector<char> buffer(block);
  for (;;) {
    std::size_t done = 0;
    EXPECT_EQ(platform.Read(file, buffer.data(), block, done), kNoError);
    if (done == 0) return content;
    content.append(buffer.data(), done);
  }
}

TEST_F(PlatformTest, ReadsFileInBlocksToTheEnd) {
  const std::string path = tmp_.MakeFileOfSize("data.bin", 10000);
  const std::string expected = tmp_.ReadFile("data.bin");
  for (const std::size_t block : {2048u, 4096u, 32768u}) {
    FileHandle file = kNoFile;
    ASSERT_EQ(platform_->OpenForReading("C:\\data.bin", file), kNoError);
    platform_->DropCachedPages(file);
    std::int64_t size = 0;
    EXPECT_EQ(platform_->SizeOfOpenFile(file, size), kNoError);
    EXPECT_EQ(size, 10000);
    EXPECT_EQ(ReadAll(*platform_, file, block), expected) << block;
    platform_->Close(file);
  }
}

TEST_F(PlatformTest, SparseFileOfFiveGiBHasItsWholeSize) {
  tmp_.MakeSparseFile("huge.iso", kFiveGiB);
  FileHandle file = kNoFile;
  ASSERT_EQ(platform_->OpenForReading("C:\\huge.iso", file), kNoError);
  std::int64_t size = 0;
  EXPECT_EQ(platform_->SizeOfOpenFile(file, size), kNoError);
  EXPECT_EQ(size, kFiveGiB);
  platform_->Close(file);
  const auto entries = platform_->FindFiles("C:\\huge.iso", 0);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].size, kFiveGiB);
}

TEST_F(PlatformTest, OpeningForReadingLeavesTheFileAlone) {
  tmp_.MakeFile("keep.txt", "content");
  struct stat before;
  ASSERT_EQ(stat(tmp_.Path("keep.txt").c_str(), &before), 0);
  FileHandle file = kNoFile;
  ASSERT_EQ(platform_->OpenForReading("C:\\keep.txt", file), kNoError);
  EXPECT_EQ(ReadAll(*platform_, file, 4), "content");
  platform_->Close(file);
  struct stat after;
  ASSERT_EQ(stat(tmp_.Path("keep.txt").c_str(), &after), 0);
  EXPECT_EQ(after.st_size, before.st_size);
  // Reading as the owner does not even change the access time.
  EXPECT_EQ(after.st_atim.tv_sec, before.st_atim.tv_sec);
  EXPECT_EQ(after.st_atim.tv_nsec, before.st_atim.tv_nsec);
}

TEST_F(PlatformTest, ReadOnlyFileIsReadButNeverWritten) {
  tmp_.MakeFile("locked.txt", "old");
  tmp_.Chmod("locked.txt", 0444);
  FileHandle file = kNoFile;
  ASSERT_EQ(platform_->OpenForReading("C:\\locked.txt", file), kNoError);
  platform_->Close(file);
  // Refused also when running as root, who could write it.
  EXPECT_EQ(platform_->CreateTextFile("C:\\locked.txt", file), kErrAccessDenied);
  EXPECT_EQ(platform_->OpenForAppend("C:\\locked.txt", file), kErrAccessDenied);
  EXPECT_EQ(file, kNoFile);
  EXPECT_EQ(tmp_.ReadFile("locked.txt"), "old");
}

TEST_F(PlatformTest, CreateReplacesAndAppendExtends) {
  FileHandle file = kNoFile;
  ASSERT_EQ(platform_->CreateTextFile("C:\\list.txt", file), kNoError);
  EXPECT_EQ(platform_->Write(file, "first\r\n"), kNoError);
  platform_->Close(file);
  ASSERT_EQ(platform_->OpenForAppend("C:\\list.txt", file), kNoError);
  EXPECT_EQ(platform_->Write(file, "second\r\n"), kNoError);
  platform_->Close(file);
  EXPECT_EQ(tmp_.ReadFile("list.txt"), "first\r\nsecond\r\n");
  ASSERT_EQ(platform_->CreateTextFile("list.txt", file), kNoError);
  platform_->Close(file);
  EXPECT_EQ(tmp_.ReadFile("list.txt"), "");
}

struct OpenFailureCase {
  const char* path;
  int reading;
  int appending;
  int creating;
};

void PrintTo(const OpenFailureCase& c, std::ostream* out) { *out << '"' << c.path << '"'; }

class OpenFailureTest : public PlatformTest,
                        public ::testing::WithParamInterface<OpenFailureCase> {};

TEST_P(OpenFailureTest, ReportsWindowsCodes) {
  tmp_.MakeFile("file.txt", "x");
  tmp_.MakeDir("dir");
  const OpenFailureCase& c = GetParam();
  FileHandle file = kNoFile;
  EXPECT_EQ(platform_->OpenForReading(c.path, file), c.reading) << c.path;
  EXPECT_EQ(platform_->OpenForAppend(c.path, file), c.appending) << c.path;
  EXPECT_EQ(platform_->CreateTextFile(c.path, file), c.creating) << c.path;
  if (file != kNoFile) platform_->Close(file);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, OpenFailureTest,
    ::testing::Values(
        OpenFailureCase{"C:\\missing.txt", kErrFileNotFound, kErrFileNotFound, kNoError},
        OpenFailureCase{"C:\\nodir\\missing.txt", kErrPathNotFound, kErrPathNotFound,
                        kErrPathNotFound},
        OpenFailureCase{"C:\\file.txt\\below", kErrPathNotFound, kErrPathNotFound,
                        kErrPathNotFound},
        OpenFailureCase{"C:\\dir", kErrAccessDenied, kErrAccessDenied, kErrAccessDenied},
        OpenFailureCase{"C:\\", kErrAccessDenied, kErrAccessDenied, kErrAccessDenied},
        OpenFailureCase{"*.*", kErrInvalidName, kErrInvalidName, kErrInvalidName},
        OpenFailureCase{"C:\\a?.txt", kErrInvalidName, kErrInvalidName, kErrInvalidName},
        OpenFailureCase{"Q:\\file.txt", kErrPathNotFound, kErrPathNotFound, kErrPathNotFound},
        OpenFailureCase{"", kErrPathNotFound, kErrPathNotFound, kErrPathNotFound}));

TEST_F(PlatformTest, WritingOnFullVolumeIsDiskFull) {
  tmp_.MakeDir("small");
  ScopedMount mount(tmp_.Path("small"));
  if (!mount.mounted()) GTEST_SKIP() << "mounting needs privileges this machine does not grant";
  FileHandle file = kNoFile;
  ASSERT_EQ(platform_->CreateTextFile("C:\\small\\list.txt", file), kNoError);
  // A line that the volume's size is no multiple of: the last one fits only in part.
  const std::string line = std::string(64 * 1024, 'x') + "\n";
  int code = kNoError;
  for (int i = 0; i < 64 && code == kNoError; ++i) code = platform_->Write(file, line);
  EXPECT_EQ(code, kErrDiskFull);
  platform_->Close(file);
  EXPECT_EQ(std::filesystem::file_size(tmp_.Path("small/list.txt")) % line.size(), 0u);
}

TEST_F(PlatformTest, DeviceBehindLinkIsNoFile) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  tmp_.MakeSymlink("full", "/dev/full");
  EXPECT_FALSE(platform_->FileExists("C:\\full"));
  FileHandle file = kNoFile;
  EXPECT_EQ(platform_->OpenForReading("C:\\full", file), kErrFileNotFound);
  EXPECT_EQ(platform_->OpenForAppend("C:\\full", file), kErrAccessDenied);
  EXPECT_EQ(platform_->CreateTextFile("C:\\full", file), kErrAccessDenied);
}

TEST_F(PlatformTest, OperationsOnClosedHandleFail) {
  std::int64_t size = 0;
  char buffer[4];
  std::size_t done = 1;
  EXPECT_NE(platform_->SizeOfOpenFile(kNoFile, size), kNoError);
  EXPECT_NE(platform_->Read(kNoFile, buffer, sizeof buffer, done), kNoError);
  EXPECT_NE(platform_->Write(kNoFile, "x"), kNoError);
  platform_->Close(kNoFile);
}

TEST_F(PlatformTest, FileExistsOnlyForFiles) {
  tmp_.MakeFile("file.txt");
  tmp_.MakeDir("dir");
  EXPECT_TRUE(platform_->FileExists("C:\\file.txt"));
  EXPECT_FALSE(platform_->FileExists("C:\\dir"));
  EXPECT_FALSE(platform_->FileExists("C:\\"));
  EXPECT_FALSE(platform_->FileExists("C:\\missing"));
  EXPECT_FALSE(platform_->FileExists("*.*"));
}

TEST_F(PlatformTest, CaseInsensitiveDriveLooksUpAndOpensNamesInAnyCase) {
  tmp_.MakeFile("Work/Report.TXT", "abc");
  // On the case-sensitive drive the spelling must be exact.
  EXPECT_FALSE(platform_->FileExists("C:\\WORK\\REPORT.TXT"));
  Rebuild(kVolumeCasePreservedNames);
  EXPECT_TRUE(platform_->FileExists("C:\\WORK\\REPORT.TXT"));
  EXPECT_EQ(platform_->SetCurrentDirectory("c:\\work"), kNoError);
  FileHandle file = kNoFile;
  ASSERT_EQ(platform_->OpenForReading("report.txt", file), kNoError);
  platform_->Close(file);
  // A new file keeps the spelling it is created with.
  ASSERT_EQ(platform_->CreateTextFile("C:\\WORK\\New.Txt", file), kNoError);
  platform_->Close(file);
  EXPECT_TRUE(std::filesystem::exists(tmp_.Path("Work/New.Txt")));
}

}  // namespace
}  // namespace tarvik
