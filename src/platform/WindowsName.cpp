#include "platform/WindowsName.h"

#include "util/Utf8.h"

namespace tarvik {

namespace {

// The characters a name may hold on Windows only away from its ends.
bool IsMappedAtEnds(char32_t ch) { return ch == U' ' || ch == U'.'; }

// Characters that no name in the program's form holds as they are.
bool IsRefused(char32_t ch) {
  switch (ch) {
    case U'\\':
    case U':':
    case U'*':
    case U'?':
    case U'"':
    case U'<':
    case U'>':
    case U'|':
      return true;
    default:
      return false;
  }
}

// Characters shown as U+F000 plus their code: those Windows forbids, and DEL, which like the
// other control characters must not reach a terminal as it is.
bool IsShownMapped(char32_t ch) { return IsForbiddenInName(ch) || ch == 0x7F; }

// Whether the name on disk holds `ch` only as the bytes it is made of, each shown on its own:
// a byte that is no UTF-8, a character that could be taken for a shown byte, or a C1 control
// character (U+0080 to U+009F), which terminals may take for the start of a command.
bool IsShownBytewise(char32_t ch) {
  return ch >= kRawByteBase || IsShownByte(ch) || (ch >= 0x80 && ch <= 0x9F);
}

}  // namespace

bool IsForbiddenInName(char32_t ch) { return IsRefused(ch) || ch <= 31; }

std::string ToWindowsName(std::string_view posix_name) {
  if (posix_name == "." || posix_name == "..") return std::string(posix_name);
  // Every character mapped alone is ASCII, so it never occurs inside a multi-byte sequence.
  const std::size_t first_kept = posix_name.find_first_not_of(' ');
  const std::size_t last_kept = posix_name.find_last_not_of(" .");
  std::string result;
  result.reserve(posix_name.size());
  for (std::size_t pos = 0; pos < posix_name.size();) {
    const std::size_t start = pos;
    const char32_t ch = DecodeUtf8(posix_name, pos);
    const bool at_an_end =
        start < first_kept || last_kept == std::string_view::npos || start > last_kept;
    if (IsShownMapped(ch) || (at_an_end && IsMappedAtEnds(ch))) {
      AppendUtf8(result, kShownByteBase + ch);
    } else if (IsShownBytewise(ch)) {
      for (std::size_t i = start; i < pos; ++i) {
        AppendUtf8(result, kShownByteBase + static_cast<unsigned char>(posix_name[i]));
      }
    } else {
      result.append(posix_name, start, pos - start);
    }
  }
  return result;
}

bool ToPosixName(std::string_view windows_name, std::string& posix_name) {
  posix_name.clear();
  std::size_t pos = 0;
  while (pos < windows_name.size()) {
    const std::size_t start = pos;
    const char32_t ch = DecodeUtf8(windows_name, pos);
    if (IsRefused(ch) || ch == U'/' || ch == 0 || ch == kShownByteBase) return false;
    const char32_t byte = ch - kShownByteBase;
    // Characters of the range that ToWindowsName never gives stand for themselves.
    if (IsShownByte(ch) && (byte >= 0x80 || IsShownMapped(byte) || IsMappedAtEnds(byte))) {
      posix_name += static_cast<char>(byte);
    } else {
      posix_name.append(windows_name, start, pos - start);
    }
  }
  return true;
}

}  // namespace tarvik
