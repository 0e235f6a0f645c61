#include <gtest/gtest.h>

#include <string>

#include "util/Cp1251.h"
#include "util/Utf8.h"

namespace tarvik {
namespace {

TEST(Cp1251Test, EveryUpperHalfByteRoundTrips) {
  // The code page's assignments, byte 0x80 upwards; 0x98 is unassigned.
  const std::u32string upper_half =
      U"ЂЃ‚ѓ„…†‡€‰Љ‹ЊЌЋЏђ‘’“”•–—\uFFFD™љ›њќћџ"
      U"\u00A0ЎўЈ¤Ґ¦§Ё©Є«¬\u00AD®Ї°±Ііґµ¶·ё№є»јЅѕї"
      U"АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдежзийклмнопрстуфхцчшщъыьэюя";
  ASSERT_EQ(upper_half.size(), 128u);
  for (std::size_t i = 0; i < upper_half.size(); ++i) {
    const int byte = static_cast<int>(0x80 + i);
    std::string utf8;
    AppendUtf8(utf8, upper_half[i]);
    const std::string expected(1, byte == 0x98 ? '?' : static_cast<char>(byte));
    EXPECT_EQ(Utf8ToCp1251(utf8), expected) << std::hex << byte;
  }
}

TEST(Cp1251Test, AsciiBytesStayThemselves) {
  std::string ascii;
  for (int byte = 0; byte < 0x80; ++byte) ascii += static_cast<char>(byte);
  EXPECT_EQ(Utf8ToCp1251(ascii), ascii);
}

TEST(Cp1251Test, TextsAndUnmappableCharacters) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},
      {"C:\\WORK\\a.txt", "C:\\WORK\\a.txt"},
      {"Я\\ё", "\xDF\\\xB8"},
      {"日本", "??"},
      {"é", "?"},
      {"😀x", "?x"},
      {std::string("a\xff", 2), "a?"},
      {"\r\n\t", "\r\n\t"},
  };
  for (const auto& [in, expected] : cases) EXPECT_EQ(Utf8ToCp1251(in), expected) << in;
}

}  // namespace
}  // namespace tarvik
