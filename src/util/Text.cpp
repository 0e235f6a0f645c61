#include "util/Text.h"

#include <algorithm>
#include <cstring>

#include "util/Utf8.h"

namespace tarvik {

void TrimRightSpaces(std::string& text) {
  while (!text.empty() && text.back() == ' ') text.pop_back();
}

void TrimLeftSpaces(std::string& text) {
  const auto first = text.find_first_not_of(' ');
  text.erase(0, first == std::string::npos ? text.size() : first);
}

void TrimSpaces(std::string& text) {
  TrimRightSpaces(text);
  TrimLeftSpaces(text);
}

void UpCase1251(char32_t& ch) {
  if ((ch >= U'a' && ch <= U'z') || (ch >= U'а' && ch <= U'я')) {
    ch -= 0x20;
  } else if (ch == U'ё') {
    ch = U'Ё';
  }
}

namespace {

void MapCharacters(std::string& text, void (*map)(char32_t&)) {
  std::string result;
  result.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    char32_t ch = DecodeUtf8(text, pos);
    map(ch);
    AppendUtf8(result, ch);
  }
  text = std::move(result);
}

}  // namespace

void UpperCase1251(std::string& text) { MapCharacters(text, UpCase1251); }

void LowCase1251(char32_t& ch) {
  if ((ch >= U'A' && ch <= U'Z') || (ch >= U'А' && ch <= U'Я')) {
    ch += 0x20;
  } else if (ch == U'Ё') {
    ch = U'ё';
  }
}

void LowerCase1251(std::string& text) { MapCharacters(text, LowCase1251); }

std::size_t CommonPrefixLength(std::string_view a, std::string_view b) {
  const std::size_t size = std::min(a.size(), b.size());
  std::size_t at = 0;
  for (const std::size_t block : {4096, 256, 16}) {
    while (at + block <= size && std::memcmp(a.data() + at, b.data() + at, block) == 0) {
      at += block;
    }
  }
  while (at < size && a[at] == b[at]) ++at;
  return at;
}

}  // namespace tarvik
