#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tarvik {

// A byte that does not start a well-formed UTF-8 sequence decodes to this value plus the byte,
// so that malformed names (Linux allows any bytes) pass through the text helpers unchanged.
inline constexpr char32_t kRawByteBase = 0x110000;

// Decodes the character that starts at `pos` and advances `pos` past it.
char32_t DecodeUtf8(std::string_view text, std::size_t& pos);

// Appends the UTF-8 form of `ch` (or the raw byte it stands for) to `out`.
void AppendUtf8(std::string& out, char32_t ch);

// Names show a byte they cannot hold as it is as this character plus the byte: U+F000 to
// U+F0FF, private-use characters (WindowsName.h).
inline constexpr char32_t kShownByteBase = 0xF000;

// Whether `ch` is one of the characters that show a byte (kShownByteBase).
bool IsShownByte(char32_t ch);
// `ch` as DecodeUtf8 gave it, a malformed byte as the character that shows it.
char32_t WellFormed(char32_t ch);

// `text` as well-formed UTF-8 for a file said to hold UTF-8: each byte that starts no
// well-formed sequence becomes the character that shows it (U+F080 to U+F0FF). Names the
// program shows are well-formed already, and map these characters themselves, so that no two
// names become one; this keeps any other text the file is given valid.
std::string WellFormedUtf8(std::string_view text);

// Number of characters (not bytes) in `text`.
std::size_t Utf8Length(std::string_view text);
// Utf8Length(text) > count, reading no further than the character after the first `count`.
bool Utf8LongerThan(std::string_view text, std::size_t count);

}  // namespace tarvik
