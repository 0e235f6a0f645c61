#include <gtest/gtest.h>

#include <string>

#include "ListFileFixture.h"
#include "platform/IoError.h"

namespace tarvik {
namespace {

TEST_F(ListFileTest, OptionOffAsksNothingAndWritesNothing) {
  tmp_.MakeFile("APP/!ListFiles.txt", "earlier\r\n");
  EXPECT_FALSE(list_file_.OpenListFile());
  EXPECT_FALSE(list_file_.AppendListLine("C:\\A.BIN"));
  EXPECT_TRUE(dialogs_.Log().empty());
  EXPECT_EQ(Bytes("APP/!ListFiles.txt"), "earlier\r\n");
}

TEST_F(ListFileTest, DialogProposesListFileNameInProgramDirEveryTime) {
  CheckBox6.SetChecked(true);
  dialogs_.Enter("C:\\OTHER.TXT").Enter("C:\\APP\\!ListFiles.txt");
  // Whatever the dialog was left with, each showing starts from ProgramDir and ListFileName.
  SD1.initial_dir = "C:\\ELSEWHERE\\";
  ASSERT_TRUE(list_file_.OpenListFile());
  SD1.file_name = "C:\\STALE.TXT";
  ASSERT_TRUE(list_file_.OpenListFile());

  ASSERT_EQ(dialogs_.Count(DialogKind::kSaveFile), 2);
  const ShownDialog& first = dialogs_.Log()[0];
  EXPECT_EQ(first.caption, "Выбрать файл для списка найденных");
  EXPECT_EQ(first.directory, "C:\\APP\\");
  EXPECT_EQ(first.value, "C:\\APP\\!ListFiles.txt");
  const ShownDialog& second = dialogs_.Log()[1];
  EXPECT_EQ(second.directory, "C:\\APP\\");
  EXPECT_EQ(second.value, "C:\\OTHER.TXT");
  EXPECT_EQ(ListFileName, "C:\\APP\\!ListFiles.txt");
  EXPECT_TRUE(CheckBox6.Checked());
}

TEST_F(ListFileTest, WritesHeaderPathsAndEndLineInCodePage1251) {
  const struct {
    const char* name;
    const char* path;
    std::string bytes;
  } cases[] = {
      {"latin", "D:\\DATA\\ONE.BIN", "D:\\DATA\\ONE.BIN"},
      {"cyrillic", "C:\\ДАННЫЕ\\Отчёт 2026.txt",
       "C:\\\xC4\xC0\xCD\xCD\xDB\xC5\\\xCE\xF2\xF7\xB8\xF2 2026.txt"},
      {"beyond the code page", "C:\\€—日本.bin", "C:\\\x88\x97<U+65E5><U+672C>.bin"},
      {"line breaks in a name", "C:\\A\rB\nC.BIN", "C:\\A<U+000D>B<U+000A>C.BIN"},
      {"look-alikes", "C:\\x\uF02A<U+F02A>", "C:\\x<U+F02A><U+003C>U+F02A>"},
      {"empty", "", ""},
  };
  for (const auto& c : cases) {
    CheckBox6.SetChecked(true);
    dialogs_.Enter("C:\\APP\\!ListFiles.txt");
    ASSERT_TRUE(list_file_.OpenListFile()) << c.name;
    EXPECT_TRUE(list_file_.AppendListLine(c.path));
    EXPECT_TRUE(list_file_.AppendListLine("C:\\SECOND.BIN"));
    EXPECT_TRUE(list_file_.AppendListLine(kListFileEndLine));
    EXPECT_EQ(Bytes("APP/!ListFiles.txt"),
              kHeaderBytes + c.bytes + "\r\nC:\\SECOND.BIN\r\n" + kEndBytes)
        << c.name;
  }
}

TEST_F(ListFileTest, LeavesTheTimeOutAtMidnightSharp) {
  const struct {
    LocalDateTime now;
    std::string first_line;
  } cases[] = {
      {{"07.12.2026", "0:00:00", true}, "Tarvik.exe.   \xC4\xE0\xF2\xE0 : 07.12.2026\r\n"},
      {{"07.12.2026", "0:00:01", false}, "Tarvik.exe.   \xC4\xE0\xF2\xE0 : 07.12.2026 0:00:01\r\n"},
      {{"12/07/26", "11:59:59 PM", false},
       "Tarvik.exe.   \xC4\xE0\xF2\xE0 : 12/07/26 11:59:59 PM\r\n"},
  };
  CheckBox6.SetChecked(true);
  for (const auto& c : cases) {
    platform_->now = c.now;
    dialogs_.Enter("C:\\LIST.TXT");
    ASSERT_TRUE(list_file_.OpenListFile());
    const std::string bytes = Bytes("LIST.TXT");
    EXPECT_EQ(bytes.substr(0, bytes.find('\n') + 1), c.first_line) << c.now.long_time;
  }
}

TEST_F(ListFileTest, RealClockGivesDateAndTimeAfterThePrefix) {
  PosixPlatform real({TempDrive('C', tmp_.path(), kDriveFixed, "TEST", 0)}, "C:\\");
  ListFile list_file = ListFileOver(real);
  CheckBox6.SetChecked(true);
  dialogs_.Enter("C:\\LIST.TXT");
  ASSERT_TRUE(list_file.OpenListFile());
  const std::string bytes = Bytes("LIST.TXT");
  const std::string prefix = "Tarvik.exe.   \xC4\xE0\xF2\xE0 : ";
  ASSERT_EQ(bytes.compare(0, prefix.size(), prefix), 0);
  const std::string stamp = bytes.substr(prefix.size(), bytes.find("\r\n") - prefix.size());
  EXPECT_GE(stamp.size(), 6u) << stamp;
  EXPECT_NE(stamp.find_first_of("0123456789"), std::string::npos) << stamp;
  EXPECT_EQ(bytes.substr(bytes.find("\r\n") + 2),
            kHeaderBytes.substr(kHeaderBytes.find("\r\n") + 2));
}

TEST_F(ListFileTest, CancelClearsTheOptionAndTouchesNoFile) {
  tmp_.MakeFile("APP/!ListFiles.txt", "earlier\r\n");
  CheckBox6.SetChecked(true);
  dialogs_.Cancel();
  EXPECT_FALSE(list_file_.OpenListFile());
  EXPECT_FALSE(CheckBox6.Checked());
  EXPECT_EQ(ListFileName, "C:\\APP\\!ListFiles.txt");
  // The check that follows writes nothing, and the next one asks nothing.
  EXPECT_FALSE(list_file_.AppendListLine("C:\\A.BIN"));
  EXPECT_FALSE(list_file_.OpenListFile());
  EXPECT_EQ(dialogs_.Count(DialogKind::kSaveFile), 1);
  EXPECT_EQ(Bytes("APP/!ListFiles.txt"), "earlier\r\n");
}

TEST_F(ListFileTest, ReplacesAnExistingFile) {
  tmp_.MakeFile("APP/!ListFiles.txt", std::string(10000, 'x'));
  CheckBox6.SetChecked(true);
  dialogs_.Enter("C:\\APP\\!ListFiles.txt");
  ASSERT_TRUE(list_file_.OpenListFile());
  EXPECT_EQ(Bytes("APP/!ListFiles.txt"), kHeaderBytes);
}

TEST_F(ListFileTest, AppendsToAFileLeftByAnEarlierCheck) {
  // The check-file command shows no dialog but still lists its file.
  tmp_.MakeFile("APP/!ListFiles.txt", "earlier\r\n");
  CheckBox6.SetChecked(true);
  EXPECT_TRUE(list_file_.AppendListLine("C:\\A.BIN"));
  EXPECT_EQ(Bytes("APP/!ListFiles.txt"), "earlier\r\nC:\\A.BIN\r\n");
}

TEST_F(ListFileTest, MissingFileDropsLinesAndIsNeverCreated) {
  CheckBox6.SetChecked(true);
  dialogs_.Enter("C:\\APP\\!ListFiles.txt");
  ASSERT_TRUE(list_file_.OpenListFile());
  EXPECT_TRUE(list_file_.AppendListLine("C:\\A.BIN"));
  tmp_.Remove("APP/!ListFiles.txt");
  EXPECT_FALSE(list_file_.AppendListLine("C:\\B.BIN"));
  EXPECT_FALSE(list_file_.AppendListLine(kListFileEndLine));
  EXPECT_FALSE(Exists("APP/!ListFiles.txt"));
  // A directory in the file's place is no list file either.
  tmp_.MakeDir("APP/!ListFiles.txt");
  EXPECT_FALSE(list_file_.AppendListLine("C:\\C.BIN"));
}

TEST_F(ListFileTest, FollowsTheOptionLineByLine) {
  CheckBox6.SetChecked(true);
  dialogs_.Enter("C:\\APP\\!ListFiles.txt");
  ASSERT_TRUE(list_file_.OpenListFile());
  EXPECT_TRUE(list_file_.AppendListLine("C:\\A.BIN"));
  CheckBox6.Click();
  EXPECT_FALSE(list_file_.AppendListLine("C:\\B.BIN"));
  CheckBox6.Click();
  EXPECT_TRUE(list_file_.AppendListLine("C:\\C.BIN"));
  EXPECT_EQ(Bytes("APP/!ListFiles.txt"), kHeaderBytes + "C:\\A.BIN\r\nC:\\C.BIN\r\n");
}

TEST_F(ListFileTest, ReadOnlyFileEndsTheCommandWithAccessDenied) {
  tmp_.MakeFile("APP/LOCKED.TXT", "kept\r\n");
  tmp_.Chmod("APP/LOCKED.TXT", 0444);
  CheckBox6.SetChecked(true);
  dialogs_.Enter("C:\\APP\\LOCKED.TXT");
  try {
    list_file_.OpenListFile();
    FAIL() << "no error";
  } catch (const IoError& error) {
    EXPECT_EQ(error.code(), 5);
    EXPECT_STREQ(error.what(), "File access denied");
  }
  EXPECT_TRUE(CheckBox6.Checked());
  EXPECT_EQ(ListFileName, "C:\\APP\\LOCKED.TXT");
  EXPECT_EQ(Bytes("APP/LOCKED.TXT"), "kept\r\n");
  // Lines due later are dropped: the file cannot be opened for appending either.
  EXPECT_FALSE(list_file_.AppendListLine("C:\\A.BIN"));
  EXPECT_EQ(Bytes("APP/LOCKED.TXT"), "kept\r\n");
}

TEST_F(ListFileTest, UncreatableLocationsEndTheCommand) {
  tmp_.MakeDir("APP/FOLDER");
  const struct {
    const char* path;
    int code;
  } cases[] = {
      {"C:\\NO SUCH FOLDER\\LIST.TXT", 3},
      {"C:\\APP\\FOLDER", 5},
      {"Q:\\LIST.TXT", 3},
  };
  for (const auto& c : cases) {
    CheckBox6.SetChecked(true);
    dialogs_.Enter(c.path);
    try {
      list_file_.OpenListFile();
      ADD_FAILURE() << c.path << ": no error";
    } catch (const IoError& error) {
      EXPECT_EQ(error.code(), c.code) << c.path;
    }
    EXPECT_TRUE(CheckBox6.Checked());
    EXPECT_EQ(ListFileName, c.path);
  }
  EXPECT_FALSE(Exists("NO SUCH FOLDER"));
}

}  // namespace
}  // namespace tarvik
