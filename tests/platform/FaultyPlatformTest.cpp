#include <gtest/gtest.h>

#include "PlatformFixture.h"
#include "support/FaultyPlatform.h"

namespace tarvik {
namespace {

class FaultyPlatformTest : public PlatformTest {
 protected:
  FaultyPlatformTest() : faulty_(*platform_) { tmp_.MakeFile("a.bin", "0123456789"); }

  // Opens, reads in blocks of 4 and closes; the codes of open and reads in order.
  std::vector<int> ReadThrough(const std::string& path) {
    std::vector<int> codes;
    FileHandle file = kNoFile;
    codes.push_back(faulty_.OpenForReading(path, file));
    if (codes.back() != kNoError) return codes;
    char buffer[4];
    std::size_t done = 0;
    do {
      codes.push_back(faulty_.Read(file, buffer, sizeof buffer, done));
    } while (codes.back() == kNoError && done > 0);
    faulty_.Close(file);
    return codes;
  }

  FaultyPlatform faulty_;
};

TEST_F(FaultyPlatformTest, PassesEverythingThroughWithoutRules) {
  EXPECT_EQ(ReadThrough("C:\\a.bin"), (std::vector<int>{0, 0, 0, 0, 0}));
  EXPECT_TRUE(faulty_.FileExists("C:\\a.bin"));
  EXPECT_EQ(faulty_.CurrentDirectory(), "C:\\");
  EXPECT_EQ(faulty_.Calls(PlatformCall::kRead, "C:\\a.bin"), 4);
}

TEST_F(FaultyPlatformTest, FirstOrSecondOpenFails) {
  faulty_.Fail(PlatformCall::kOpenForReading, "C:\\a.bin", 2, kErrSharingViolation);
  EXPECT_EQ(ReadThrough("C:\\a.bin").front(), kNoError);
  EXPECT_EQ(ReadThrough("C:\\a.bin"), (std::vector<int>{kErrSharingViolation}));
  EXPECT_EQ(ReadThrough("C:\\a.bin").front(), kNoError);
  // Other paths are not affected.
  tmp_.MakeFile("b.bin");
  faulty_.Fail(PlatformCall::kOpenForReading, "C:\\b.bin", 1, kErrAccessDenied, 0);
  EXPECT_EQ(ReadThrough("C:\\b.bin"), (std::vector<int>{kErrAccessDenied}));
  EXPECT_EQ(ReadThrough("C:\\b.bin"), (std::vector<int>{kErrAccessDenied}));
}

TEST_F(FaultyPlatformTest, KthReadFails) {
  faulty_.Fail(PlatformCall::kRead, "C:\\a.bin", 2, 23);
  EXPECT_EQ(ReadThrough("C:\\a.bin"), (std::vector<int>{0, 0, 23}));
  // The handle stays usable: the failing read never reached the file.
  EXPECT_EQ(faulty_.Calls(PlatformCall::kClose, "C:\\a.bin"), 1);
}

TEST_F(FaultyPlatformTest, SizeChangesBetweenFirstOpenAndEndOfReading) {
  faulty_.After(PlatformCall::kClose, "C:\\a.bin", 1, [this] { tmp_.AppendToFile("a.bin", "++"); });
  FileHandle file = kNoFile;
  ASSERT_EQ(faulty_.OpenForReading("C:\\a.bin", file), kNoError);
  std::int64_t size = 0;
  ASSERT_EQ(faulty_.SizeOfOpenFile(file, size), kNoError);
  faulty_.Close(file);
  EXPECT_EQ(size, 10);
  EXPECT_EQ(ReadThrough("C:\\a.bin").size(), 5u);  // 12 bytes now: three blocks and the end
}

TEST_F(FaultyPlatformTest, FileDisappearsAfterTheExistenceTest) {
  faulty_.After(PlatformCall::kFileExists, "C:\\a.bin", 1, [this] { tmp_.Remove("a.bin"); });
  EXPECT_TRUE(faulty_.FileExists("C:\\a.bin"));
  EXPECT_EQ(ReadThrough("C:\\a.bin"), (std::vector<int>{kErrFileNotFound}));
}

TEST_F(FaultyPlatformTest, CreateAndAppendFailWithChosenCode) {
  faulty_.Fail(PlatformCall::kCreateTextFile, "C:\\list.txt", 1, kErrDiskFull);
  faulty_.Fail(PlatformCall::kOpenForAppend, FaultyPlatform::kAnyPath, 1, kErrAccessDenied);
  faulty_.Fail(PlatformCall::kWrite, "C:\\list.txt", 2, kErrDiskFull);
  FileHandle file = kNoFile;
  EXPECT_EQ(faulty_.CreateTextFile("C:\\list.txt", file), kErrDiskFull);
  EXPECT_EQ(file, kNoFile);
  ASSERT_EQ(faulty_.CreateTextFile("C:\\list.txt", file), kNoError);
  EXPECT_EQ(faulty_.Write(file, "one"), kNoError);
  EXPECT_EQ(faulty_.Write(file, "two"), kErrDiskFull);
  faulty_.Close(file);
  EXPECT_EQ(tmp_.ReadFile("list.txt"), "one");
  EXPECT_EQ(faulty_.OpenForAppend("C:\\list.txt", file), kErrAccessDenied);
  EXPECT_EQ(faulty_.OpenForAppend("C:\\list.txt", file), kNoError);
  faulty_.Close(file);
}

TEST_F(FaultyPlatformTest, QueriesWithoutCodeFailAsNotFound) {
  tmp_.MakeDir("sub");
  faulty_.Fail(PlatformCall::kFileExists, "C:\\a.bin", 1, kErrNotReady);
  faulty_.Fail(PlatformCall::kFileAttributes, "C:\\a.bin", 1, kErrNotReady);
  faulty_.Fail(PlatformCall::kFindFiles, "C:\\*.*", 1, kErrNotReady);
  faulty_.Fail(PlatformCall::kSetCurrentDirectory, "C:\\sub", 1, kErrNotReady);
  EXPECT_FALSE(faulty_.FileExists("C:\\a.bin"));
  EXPECT_EQ(faulty_.FileAttributes("C:\\a.bin"), kInvalidAttributes);
  EXPECT_TRUE(faulty_.FindFiles("C:\\*.*", 0).empty());
  EXPECT_EQ(faulty_.SetCurrentDirectory("C:\\sub"), kErrNotReady);
  EXPECT_EQ(faulty_.CurrentDirectory(), "C:\\");
  EXPECT_TRUE(faulty_.FileExists("C:\\a.bin"));
  EXPECT_EQ(faulty_.FindFiles("C:\\*.*", 0).size(), 1u);
  EXPECT_EQ(faulty_.SetCurrentDirectory("C:\\sub"), kNoError);
}

}  // namespace
}  // namespace tarvik
