#include <gtest/gtest.h>

#include <string>

#include "util/Text.h"

namespace tarvik {
namespace {

struct TrimCase {
  std::string input, right, left, both;
};

TEST(TrimTest, RemovesOnlySpacesAtTheEnds) {
  const TrimCase cases[] = {
      {"", "", "", ""},
      {"   ", "", "", ""},
      {"  a b  ", "  a b", "a b  ", "a b"},
      {"\tword", "\tword", "\tword", "\tword"},
      {" \tx\t ", " \tx\t", "\tx\t ", "\tx\t"},
      {" мир ", " мир", "мир ", "мир"},
  };
  for (const auto& c : cases) {
    std::string right = c.input, left = c.input, both = c.input;
    TrimRightSpaces(right);
    TrimLeftSpaces(left);
    TrimSpaces(both);
    EXPECT_EQ(right, c.right) << '"' << c.input << '"';
    EXPECT_EQ(left, c.left) << '"' << c.input << '"';
    EXPECT_EQ(both, c.both) << '"' << c.input << '"';
  }
}

TEST(UpCase1251Test, MapsExactlyTheFiftyNineLetters) {
  int mapped = 0;
  for (char32_t ch = 0; ch < 0x500; ++ch) {
    char32_t up = ch;
    UpCase1251(up);
    if (up != ch) ++mapped;
  }
  EXPECT_EQ(mapped, 59);
}

TEST(UpCase1251Test, SingleCharacters) {
  const std::pair<char32_t, char32_t> cases[] = {
      {U'a', U'A'}, {U'z', U'Z'}, {U'а', U'А'}, {U'я', U'Я'}, {U'ё', U'Ё'},
      {U'A', U'A'}, {U'Ё', U'Ё'}, {U'і', U'і'}, {U'ї', U'ї'}, {U'є', U'є'},
      {U'ґ', U'ґ'}, {U'ў', U'ў'}, {U'ђ', U'ђ'}, {U'љ', U'љ'}, {U'ј', U'ј'},
      {U'ѕ', U'ѕ'}, {U'5', U'5'}, {U'_', U'_'}, {U'ß', U'ß'}, {U'é', U'é'},
  };
  for (auto [in, expected] : cases) {
    char32_t ch = in;
    UpCase1251(ch);
    EXPECT_EQ(ch, expected) << static_cast<unsigned>(in);
  }
}

TEST(UpperCase1251Test, Texts) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},
      {"абвгдеёжзийклмнопрстуфхцчшщъыьэюя", "АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ"},
      {"abcxyz", "ABCXYZ"},
      {"іїєґўђљ", "іїєґўђљ"},
      {"0123 !?.,[]\\ ABC Я", "0123 !?.,[]\\ ABC Я"},
      {"c:\\мой dir", "C:\\МОЙ DIR"},
      // Malformed UTF-8 bytes pass through untouched.
      {std::string("a\xff"
                   "b\xd0",
                   4),
       std::string("A\xff"
                   "B\xd0",
                   4)},
  };
  for (const auto& [in, expected] : cases) {
    std::string text = in;
    UpperCase1251(text);
    EXPECT_EQ(text, expected) << in;
  }
}

TEST(LowerCase1251Test, InvertsTheUpperCasingTable) {
  for (char32_t ch = 0; ch < 0x500; ++ch) {
    char32_t up = ch;
    UpCase1251(up);
    char32_t down = up;
    LowCase1251(down);
    if (up != ch) {
      EXPECT_EQ(down, ch) << static_cast<unsigned>(ch);
    }
  }
  const std::pair<std::string, std::string> cases[] = {
      {"C:\\МОЙ DIR Ёж", "c:\\мой dir ёж"},
      {"ІЇЄҐЎЂЉ", "ІЇЄҐЎЂЉ"},
      {std::string("A\xff", 2), std::string("a\xff", 2)},
  };
  for (const auto& [in, expected] : cases) {
    std::string text = in;
    LowerCase1251(text);
    EXPECT_EQ(text, expected) << in;
  }
}

}  // namespace
}  // namespace tarvik
