#pragma once

#include <string>

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

}  // namespace tarvik
