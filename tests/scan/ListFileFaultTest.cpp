#include <gtest/gtest.h>

#include <string>

#include "ListFileFixture.h"
#include "platform/ErrorCodes.h"
#include "platform/IoError.h"
#include "support/FaultyPlatform.h"

namespace tarvik {
namespace {

constexpr char kList[] = "C:\\APP\\!ListFiles.txt";

// Faults a real file system does not give on demand, above all to root, which may write
// anywhere: a location that refuses the file, a disk that fills up, a file locked by another
// program.
class ListFileFaultTest : public ListFileTest {
 protected:
  ListFileFaultTest() : faulty_(*platform_), faulty_list_(ListFileOver(faulty_)) {
    CheckBox6.SetChecked(true);
  }

  FaultyPlatform faulty_;
  ListFile faulty_list_;
};

TEST_F(ListFileFaultTest, CreateOrHeaderFailureEndsTheCommandWithTheFileClosed) {
  const struct {
    const char* name;
    PlatformCall call;
    int nth;
    int code;
    const char* text;
    int closes;
  } cases[] = {
      {"create refused", PlatformCall::kCreateTextFile, 1, kErrAccessDenied, "File access denied",
       0},
      {"too many files", PlatformCall::kCreateTextFile, 1, kErrTooManyOpenFiles,
       "Too many open files", 0},
      {"first header line", PlatformCall::kWrite, 1, kErrDiskFull, "Disk full", 1},
      {"third header line", PlatformCall::kWrite, 3, 23, "I/O error 23", 1},
  };
  for (const auto& c : cases) {
    FaultyPlatform faulty(*platform_);
    ListFile list_file = ListFileOver(faulty);
    faulty.Fail(c.call, kList, c.nth, c.code);
    ListFileName = "C:\\APP\\OLD.TXT";
    dialogs_.Enter(kList);
    try {
      list_file.OpenListFile();
      ADD_FAILURE() << c.name << ": no error";
    } catch (const IoError& error) {
      EXPECT_EQ(error.code(), c.code) << c.name;
      EXPECT_EQ(std::string(error.what()), c.text) << c.name;
    }
    EXPECT_EQ(faulty.Calls(PlatformCall::kClose, kList), c.closes) << c.name;
    EXPECT_TRUE(CheckBox6.Checked()) << c.name;
    EXPECT_EQ(ListFileName, kList) << c.name;
  }
}

TEST_F(ListFileFaultTest, LockedFileDropsTheLine) {
  dialogs_.Enter(kList);
  ASSERT_TRUE(faulty_list_.OpenListFile());
  faulty_.Fail(PlatformCall::kOpenForAppend, kList, 2, kErrSharingViolation);
  EXPECT_TRUE(faulty_list_.AppendListLine("C:\\A.BIN"));
  EXPECT_FALSE(faulty_list_.AppendListLine("C:\\B.BIN"));
  EXPECT_TRUE(faulty_list_.AppendListLine("C:\\C.BIN"));
  EXPECT_EQ(Bytes("APP/!ListFiles.txt"), kHeaderBytes + "C:\\A.BIN\r\nC:\\C.BIN\r\n");
  // Only the lines that were opened were closed, each at once.
  EXPECT_EQ(faulty_.Calls(PlatformCall::kClose, kList), 1 + 2);
  // The list is ended all the same, and its end tells what was lost.
  EXPECT_EQ(faulty_list_.EndList(), kErrSharingViolation);
  EXPECT_EQ(faulty_list_.EndList(), kNoError);
}

TEST_F(ListFileFaultTest, FailedWriteOfALineGoesOnAndIsToldAtTheEnd) {
  dialogs_.Enter(kList);
  ASSERT_TRUE(faulty_list_.OpenListFile());
  // Three header lines, then the first path.
  faulty_.Fail(PlatformCall::kWrite, kList, 4, kErrDiskFull);
  EXPECT_TRUE(faulty_list_.AppendListLine("C:\\A.BIN"));
  EXPECT_TRUE(faulty_list_.AppendListLine("C:\\B.BIN"));
  EXPECT_EQ(Bytes("APP/!ListFiles.txt"), kHeaderBytes + "C:\\B.BIN\r\n");
  EXPECT_EQ(faulty_.Calls(PlatformCall::kClose, kList), 3);
  EXPECT_EQ(faulty_list_.EndList(), kErrDiskFull);
  EXPECT_EQ(Bytes("APP/!ListFiles.txt"),
            kHeaderBytes + "C:\\B.BIN\r\n-----------------The End.------------------\r\n");
}

TEST_F(ListFileFaultTest, OneOpenWriteAndCloseForEveryLine) {
  dialogs_.Enter(kList);
  ASSERT_TRUE(faulty_list_.OpenListFile());
  for (const char* path : {"C:\\A.BIN", "C:\\B.BIN", "C:\\C.BIN"}) {
    const int closes = faulty_.Calls(PlatformCall::kClose, kList);
    ASSERT_TRUE(faulty_list_.AppendListLine(path));
    EXPECT_EQ(faulty_.Calls(PlatformCall::kClose, kList), closes + 1) << path;
  }
  EXPECT_EQ(faulty_.Calls(PlatformCall::kCreateTextFile, kList), 1);
  EXPECT_EQ(faulty_.Calls(PlatformCall::kOpenForAppend, kList), 3);
  EXPECT_EQ(faulty_.Calls(PlatformCall::kWrite, kList), 3 + 3);
}

TEST_F(ListFileFaultTest, FileDeletedBetweenTheTestAndTheOpenIsNotCreated) {
  dialogs_.Enter(kList);
  ASSERT_TRUE(faulty_list_.OpenListFile());
  faulty_.After(PlatformCall::kFileExists, kList, 1, [this] { tmp_.Remove("APP/!ListFiles.txt"); });
  EXPECT_FALSE(faulty_list_.AppendListLine("C:\\A.BIN"));
  EXPECT_FALSE(Exists("APP/!ListFiles.txt"));
  EXPECT_EQ(faulty_list_.EndList(), kErrFileNotFound);
  EXPECT_FALSE(Exists("APP/!ListFiles.txt"));
}

}  // namespace
}  // namespace tarvik
