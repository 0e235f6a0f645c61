#include <gtest/gtest.h>

#include "PlatformFixture.h"
#include "platform/FileSizeOf.h"
#include "platform/IoError.h"
#include "support/FaultyPlatform.h"

namespace tarvik {
namespace {

TEST_F(PlatformTest, FileSizeOfMeasuresWhatCanBeOpened) {
  tmp_.MakeFile("empty.txt");
  tmp_.MakeFileOfSize("sub/1500.bin", 1500);
  tmp_.MakeSparseFile("big.iso", (std::int64_t{2} << 30) + 1);
  tmp_.MakeDir("dir");
  tmp_.MakeFifo("pipe");
  ASSERT_EQ(platform_->SetCurrentDirectory("C:\\sub"), kNoError);
  EXPECT_EQ(FileSizeOf(*platform_, "C:\\empty.txt"), 0);
  // A bare name is looked up in the current directory.
  EXPECT_EQ(FileSizeOf(*platform_, "1500.bin"), 1500);
  // Sizes from 2 GiB on come back whole.
  EXPECT_EQ(FileSizeOf(*platform_, "C:\\big.iso"), (std::int64_t{2} << 30) + 1);
  for (const char* path : {"C:\\missing.txt", "*.*", "C:\\dir", "C:\\pipe", ""}) {
    EXPECT_EQ(FileSizeOf(*platform_, path), -1) << path;
  }
}

TEST_F(PlatformTest, FileSizeOfFileHeldOpenByAnother) {
  tmp_.MakeFile("busy.log", "12345");
  FileHandle writer = kNoFile;
  ASSERT_EQ(platform_->OpenForAppend("C:\\busy.log", writer), kNoError);
  EXPECT_EQ(FileSizeOf(*platform_, "C:\\busy.log"), 5);
  platform_->Close(writer);
}

TEST_F(PlatformTest, FileSizeOfRaisesFailedSizeQueryAndClosesTheFile) {
  tmp_.MakeFile("a.bin", "abc");
  FaultyPlatform faulty(*platform_);
  faulty.Fail(PlatformCall::kSizeOfOpenFile, "C:\\a.bin", 1, kErrNotReady);
  try {
    FileSizeOf(faulty, "C:\\a.bin");
    FAIL() << "no IoError";
  } catch (const IoError& error) {
    EXPECT_EQ(error.code(), kErrNotReady);
  }
  EXPECT_EQ(faulty.Calls(PlatformCall::kClose, "C:\\a.bin"), 1);
  // The next query, which does not fail, gives the size.
  EXPECT_EQ(FileSizeOf(faulty, "C:\\a.bin"), 3);
}

}  // namespace
}  // namespace tarvik
