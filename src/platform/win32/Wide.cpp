#include "platform/win32/Wide.h"

#include "util/Utf8.h"

namespace tarvik {

namespace {

bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// A three-byte sequence of a surrogate (ED A0 80 to ED BF BF), which DecodeUtf8 takes for
// three malformed bytes; 0 when `text` does not hold one at `pos`.
char32_t SurrogateAt(std::string_view text, std::size_t pos) {
  if (pos + 3 > text.size()) return 0;
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[pos + i]); };
  if (byte(0) != 0xED || byte(1) < 0xA0 || byte(1) > 0xBF || (byte(2) & 0xC0) != 0x80) return 0;
  return 0xD000 | ((byte(1) & 0x3F) << 6) | (byte(2) & 0x3F);
}

void AppendUnit(std::wstring& out, char32_t unit) { out.push_back(static_cast<wchar_t>(unit)); }

}  // namespace

std::wstring Widen(std::string_view text) {
  std::wstring wide;
  wide.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (const char32_t surrogate = SurrogateAt(text, pos); surrogate != 0) {
      AppendUnit(wide, surrogate);
      pos += 3;
      continue;
    }
    char32_t ch = DecodeUtf8(text, pos);
    // A byte that is no UTF-8 cannot reach the system: it takes the character that shows it.
    ch = WellFormed(ch);
    if (ch >= 0x10000) {
      ch -= 0x10000;
      AppendUnit(wide, 0xD800 + (ch >> 10));
      AppendUnit(wide, 0xDC00 + (ch & 0x3FF));
    } else {
      AppendUnit(wide, ch);
    }
  }
  return wide;
}

std::string Narrow(std::wstring_view text) {
  std::string narrow;
  narrow.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char32_t unit = static_cast<char16_t>(text[i]);
    const char32_t next = i + 1 < text.size() ? static_cast<char16_t>(text[i + 1]) : 0;
    if (IsHighSurrogate(unit) && IsLowSurrogate(next)) {
      AppendUtf8(narrow, 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00));
      ++i;
    } else {
      // A lone surrogate takes the three bytes of its own code.
      AppendUtf8(narrow, unit);
    }
  }
  return narrow;
}

}  // namespace tarvik
