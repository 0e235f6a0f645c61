#include <gtest/gtest.h>

#include <string>

#include "util/Path.h"

namespace tarvik {
namespace {

TEST(PathPartsTest, DrivePart) {
  const std::pair<std::string, std::string> cases[] = {
      {"C:\\WORK\\SUB", "C:"},
      {"c:", "c:"},
      {"C:NAME", "C:"},
      {"\\\\server\\share\\dir", "\\\\server\\share"},
      {"\\\\server\\share", "\\\\server\\share"},
      {"\\\\server", "\\\\server"},
      {"\\WORK", ""},
      {"WORK", ""},
      {"", ""},
  };
  for (const auto& [path, drive] : cases) EXPECT_EQ(DrivePart(path), drive) << path;
}

TEST(PathPartsTest, FileNamePartAndJoin) {
  const std::pair<std::string, std::string> names[] = {
      {"C:\\A\\B.TXT", "B.TXT"}, {"C:B.TXT", "B.TXT"}, {"B.TXT", "B.TXT"},
      {"C:\\A\\", ""},           {"\\", ""},           {"*.txt", "*.txt"},
  };
  for (const auto& [path, name] : names) EXPECT_EQ(FileNamePart(path), name) << path;
  EXPECT_EQ(JoinPath("C:\\", "A"), "C:\\A");
  EXPECT_EQ(JoinPath("C:\\WORK", "[SUB]"), "C:\\WORK\\[SUB]");
  EXPECT_TRUE(HasWildcards("a?.txt"));
  EXPECT_TRUE(HasWildcards("*"));
  EXPECT_FALSE(HasWildcards("a.txt"));
}

TEST(PathPartsTest, UpCaseDriveChangesOnlyLowerCaseLetters) {
  EXPECT_EQ(UpCaseDrive('c'), 'C');
  EXPECT_EQ(UpCaseDrive('C'), 'C');
  EXPECT_EQ(UpCaseDrive('\\'), '\\');
  EXPECT_EQ(UpCaseDrive(0), 0);
}

TEST(NormalizeDirPathTest, UpperCaseRule) {
  const std::pair<std::string, std::string> cases[] = {
      {"c:\\dir", "C:\\DIR\\"},
      {"C:\\", "C:\\"},
      {"   ", ""},
      {"", ""},
      {"\\\\server\\share", "\\\\SERVER\\SHARE\\"},
      {"c:/dir", "C:/DIR\\"},
      {"  d:\\папка\\ёлка  ", "D:\\ПАПКА\\ЁЛКА\\"},
      {"c:\\dir\\\\", "C:\\DIR\\\\"},
  };
  for (const auto& [in, expected] : cases) {
    std::string path = in;
    NormalizeDirPath(path);
    EXPECT_EQ(path, expected) << '"' << in << '"';
  }
}

TEST(NormalizeDirPathTest, KeepCaseRule) {
  const std::pair<std::string, std::string> cases[] = {
      {" C:\\home\\me ", "C:\\home\\me\\"},
      {"C:\\", "C:\\"},
      {"   ", ""},
  };
  for (const auto& [in, expected] : cases) {
    std::string path = in;
    NormalizeDirPath(path, PathCase::kKeep);
    EXPECT_EQ(path, expected) << '"' << in << '"';
  }
}

TEST(NormalizeDirPathTest, NormalisedPathStaysTheSame) {
  for (std::string path : {"c:\\a b\\ё", "  \\\\srv\\x", "C:\\"}) {
    NormalizeDirPath(path);
    std::string again = path;
    NormalizeDirPath(again);
    EXPECT_EQ(again, path);
  }
}

TEST(StripBracketsTest, Cases) {
  const std::pair<std::string, std::string> cases[] = {
      {"[NAME]", "NAME"},    {"[..]", ".."},    {"  [NAME]  ", "NAME"},
      {"[ NAME ]", "NAME "}, {"[", ""},         {"]", ""},
      {"[[X]]", "[X]"},      {"NAME]", "NAME"}, {"   ", ""},
      {"[ПАПКА]", "ПАПКА"},  {"NAME", "NAME"},  {"[ ]", ""},
  };
  for (const auto& [in, expected] : cases) {
    std::string text = in;
    StripBrackets(text);
    EXPECT_EQ(text, expected) << '"' << in << '"';
  }
}

TEST(SplitLastComponentTest, Cases) {
  struct Case {
    std::string path, parent, name;
  };
  const Case cases[] = {
      {"C:\\DIR\\SUB", "C:\\DIR\\", "SUB"},
      {"C:\\DIR\\SUB\\", "C:\\DIR\\", "SUB"},
      {"C:\\DIR", "C:\\", "DIR"},
      {"C:\\", "", ""},
      {"C:\\\\", "", ""},
      {"ABC", "", ""},
      {"ABCD", "", "ABCD"},
      {"\\\\SRV\\SHARE", "\\\\SRV\\", "SHARE"},
      {"C:\\DIR\\SUB\\\\", "C:\\DIR\\SUB\\", ""},
      {"  C:\\DIR  ", "C:\\", "DIR"},
      // Lengths count characters: three Cyrillic letters are three, not six.
      {"ЯЯЯ", "", ""},
      {"C:\\Я", "C:\\", "Я"},
      {"C:\\ПАПКА\\ФАЙЛ", "C:\\ПАПКА\\", "ФАЙЛ"},
  };
  for (const auto& c : cases) {
    std::string name = "old", parent = "old";
    SplitLastComponent(c.path, name, parent);
    EXPECT_EQ(parent, c.parent) << c.path;
    EXPECT_EQ(name, c.name) << c.path;
  }
}

}  // namespace
}  // namespace tarvik
