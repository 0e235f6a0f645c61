#pragma once

#include <string>
#include <string_view>

namespace tarvik {

// Converts UTF-8 text to code page 1251 bytes for files that leave the program in that
// encoding. A character the code page cannot hold, or a malformed byte, becomes "?".
std::string Utf8ToCp1251(std::string_view text);

// Whether code page 1251 holds the character (a malformed byte is none).
bool Cp1251Holds(char32_t ch);

}  // namespace tarvik
