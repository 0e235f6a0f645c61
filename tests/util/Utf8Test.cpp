#include <gtest/gtest.h>

#include <string>

#include "util/Utf8.h"

namespace tarvik {
namespace {

TEST(Utf8Test, LengthCountsCharacters) {
  const std::pair<std::string, std::size_t> cases[] = {
      {"", 0},     {"abc", 3}, {"ЯЯЯ", 3},      {"C:\\Я", 4},
      {"日本", 2}, {"😀", 1},   {"\xff\xfe", 2}, {"\xd0", 1},  // malformed bytes count singly
  };
  for (const auto& [text, length] : cases) EXPECT_EQ(Utf8Length(text), length) << text;
}

TEST(Utf8Test, DecodeThenEncodeGivesTheSameBytes) {
  const std::string cases[] = {
      "plain",
      "Проверка дисков",
      "\xc0\x80",          // overlong NUL
      "\xed\xa0\x80",      // surrogate
      "\xf4\x90\x80\x80",  // beyond U+10FFFF
      "\xe2\x82",          // truncated sequence
      "\x80\xbf",          // stray continuation bytes
      std::string("a\0b", 3),
  };
  for (const auto& text : cases) {
    std::string out;
    for (std::size_t pos = 0; pos < text.size();) AppendUtf8(out, DecodeUtf8(text, pos));
    EXPECT_EQ(out, text);
  }
}

TEST(Utf8Test, MalformedBytesDecodeAsRawBytes) {
  const std::string text = "\xd0\x41";
  std::size_t pos = 0;
  EXPECT_EQ(DecodeUtf8(text, pos), kRawByteBase + 0xD0);
  EXPECT_EQ(pos, 1u);
  EXPECT_EQ(DecodeUtf8(text, pos), U'A');
}

}  // namespace
}  // namespace tarvik
