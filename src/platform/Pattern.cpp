#include "platform/Pattern.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <locale.h>
#include <wctype.h>
#endif

#include <vector>

#include "util/Text.h"
#include "util/Utf8.h"

namespace tarvik {

namespace {

// Pattern elements after the translation Windows applies before matching.
enum class Token { kLiteral, kStar, kStarToLastDot, kOneOrNone, kDotOrEnd };

struct Element {
  Token token;
  char32_t ch;
};

// Simple case mapping of the whole of Unicode, independent of the user's locale, so that
// the same names always match the same patterns.
#ifdef _WIN32
// Windows upper-cases names with the invariant locale's table, as NTFS's own is made from it;
// characters beyond the Basic Multilingual Plane have no case there.
char32_t FoldCase(char32_t ch) {
  if (ch >= kRawByteBase || ch > 0xFFFF) return ch;
  wchar_t unit = static_cast<wchar_t>(ch);
  wchar_t upper = unit;
  if (LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, &unit, 1, &upper, 1, nullptr, nullptr,
                    0) != 1) {
    return ch;
  }
  return upper;
}
#else
char32_t FoldCase(char32_t ch) {
  static const locale_t unicode = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{});
  if (ch >= kRawByteBase) return ch;
  if (unicode != locale_t{})
    return static_cast<char32_t>(towupper_l(static_cast<wint_t>(ch), unicode));
  UpCase1251(ch);
  return ch;
}
#endif

std::vector<char32_t> Decode(std::string_view text) {
  std::vector<char32_t> result;
  std::size_t pos = 0;
  // A byte of a mask that is no UTF-8 matches that byte in a name, which shows it as a character.
  while (pos < text.size()) result.push_back(WellFormed(DecodeUtf8(text, pos)));
  return result;
}

std::vector<Element> Translate(const std::vector<char32_t>& pattern) {
  std::vector<Element> result;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char32_t ch = pattern[i];
    const bool last = i + 1 == pattern.size();
    const char32_t next = last ? 0 : pattern[i + 1];
    if (ch == U'*') {
      result.push_back({next == U'.' ? Token::kStarToLastDot : Token::kStar, ch});
    } else if (ch == U'?') {
      result.push_back({Token::kOneOrNone, ch});
    } else if (ch == U'.' && (last || next == U'*' || next == U'?')) {
      result.push_back({Token::kDotOrEnd, ch});
    } else {
      result.push_back({Token::kLiteral, FoldCase(ch)});
    }
  }
  return result;
}

}  // namespace

bool MatchesPattern(std::string_view pattern, std::string_view name) {
  if (pattern.empty()) return false;
  const std::vector<Element> elements = Translate(Decode(pattern));
  std::vector<char32_t> chars = Decode(name);
  std::size_t last_dot = chars.size();
  for (std::size_t i = 0; i < chars.size(); ++i) {
    if (chars[i] == U'.') last_dot = i;
    chars[i] = FoldCase(chars[i]);
  }
  const std::size_t n = chars.size();
  // matches[j]: the elements seen so far match the first j characters of the name.
  std::vector<char> matches(n + 1, 0);
  matches[0] = 1;
  for (const Element& element : elements) {
    std::vector<char> next(n + 1, 0);
    for (std::size_t j = 0; j <= n; ++j) {
      switch (element.token) {
        case Token::kLiteral:
          if (j > 0 && matches[j - 1] && chars[j - 1] == element.ch) next[j] = 1;
          break;
        case Token::kStar:
          next[j] = matches[j] || (j > 0 && next[j - 1]);
          break;
        case Token::kStarToLastDot:
          // May consume any character before the name's last full stop.
          next[j] = matches[j] || (j > 0 && j - 1 < last_dot && next[j - 1]);
          break;
        case Token::kOneOrNone:
          if (j > 0 && matches[j - 1] && chars[j - 1] != U'.') next[j] = 1;
          if (matches[j] && (j == n || chars[j] == U'.')) next[j] = 1;
          break;
        case Token::kDotOrEnd:
          if (j > 0 && matches[j - 1] && chars[j - 1] == U'.') next[j] = 1;
          if (j == n && matches[j]) next[j] = 1;
          break;
      }
    }
    matches.swap(next);
  }
  return matches[n] != 0;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  std::size_t pa = 0;
  std::size_t pb = 0;
  while (pa < a.size() && pb < b.size()) {
    if (FoldCase(DecodeUtf8(a, pa)) != FoldCase(DecodeUtf8(b, pb))) return false;
  }
  return pa == a.size() && pb == b.size();
}

}  // namespace tarvik
