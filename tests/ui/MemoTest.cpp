#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/Memo.h"

namespace tarvik {
namespace {

using Lines = std::vector<std::string>;

TEST(MemoTest, UserTextBecomesTheLines) {
  const std::pair<std::string, Lines> cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\n", {"a"}},
      {"a\n\n", {"a", ""}},
      {"\n", {""}},
      {"a\r\nb", {"a", "b"}},
      {"a\rb\r", {"a", "b"}},
      {"a\n\rb", {"a", "", "b"}},
      {"Файл : \"C:\\A.BIN\" - не найден !\r\nмой текст",
       {"Файл : \"C:\\A.BIN\" - не найден !", "мой текст"}},
  };
  for (const auto& [text, lines] : cases) {
    Memo memo;
    memo.Append("old line");
    memo.SetText(text);
    EXPECT_EQ(memo.Lines(), lines) << '"' << text << '"';
    EXPECT_EQ(memo.Count(), static_cast<int>(lines.size())) << '"' << text << '"';
  }
}

TEST(MemoTest, TextRoundTripsEveryLineList) {
  const Lines cases[] = {{}, {""}, {"", ""}, {"a", ""}, {"a", "b"}, {"", "b", ""}};
  for (const auto& lines : cases) {
    Memo memo;
    for (const auto& line : lines) memo.Append(line);
    Memo copy;
    copy.SetText(memo.Text());
    EXPECT_EQ(copy.Lines(), lines) << '"' << memo.Text() << '"';
  }
}

TEST(MemoTest, AppendClearAndAnnouncements) {
  Memo memo;
  int announced = 0;
  memo.StateChanged.Subscribe([&] { ++announced; });
  memo.Clear();
  EXPECT_EQ(announced, 0);
  const std::uint64_t revision = memo.Revision();
  memo.Append("one");
  memo.Append("one");
  EXPECT_EQ(memo.Count(), 2);
  EXPECT_EQ(announced, 2);
  EXPECT_EQ(memo.Revision(), revision) << "appending keeps the lines shown so far";
  memo.SetText(memo.Text());
  EXPECT_EQ(announced, 2);
  EXPECT_EQ(memo.Revision(), revision);
  memo.SetText("one\ntwo");
  EXPECT_EQ(announced, 3);
  EXPECT_NE(memo.Revision(), revision);
  const std::uint64_t edited = memo.Revision();
  memo.Clear();
  EXPECT_EQ(memo.Count(), 0);
  EXPECT_EQ(announced, 4);
  EXPECT_NE(memo.Revision(), edited);
}

}  // namespace
}  // namespace tarvik
