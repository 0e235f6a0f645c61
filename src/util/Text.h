#pragma once

#include <string>
#include <string_view>

// Text helpers shared by the windows, the scan and the network commands. They change the
// caller's string in place and keep no state. Only the space character counts as blank.
namespace tarvik {

void TrimRightSpaces(std::string& text);
void TrimLeftSpaces(std::string& text);
void TrimSpaces(std::string& text);

// The fixed upper-casing table: a-z, а-я and ё map to upper case; every other character,
// including the other Cyrillic letters (і ї є ґ ў ђ љ ...), stays as it is. Never the locale.
void UpCase1251(char32_t& ch);
void UpperCase1251(std::string& text);

// The same table read backwards: A-Z, А-Я and Ё map to lower case, nothing else changes.
void LowCase1251(char32_t& ch);
void LowerCase1251(std::string& text);

// The length of the longest common beginning of two texts, compared a block at a time: paths in
// a deep tree are long and share most of their beginning.
std::size_t CommonPrefixLength(std::string_view a, std::string_view b);

}  // namespace tarvik
