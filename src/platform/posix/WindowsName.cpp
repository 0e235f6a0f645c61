#include "platform/posix/WindowsName.h"

#include "util/Utf8.h"

namespace tarvik {

namespace {

constexpr char32_t kMappedBase = 0xF000;

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

}  // namespace

bool IsForbiddenInName(char32_t ch) { return IsRefused(ch) || (ch >= 1 && ch <= 31); }

std::string ToWindowsName(std::string_view posix_name) {
  if (posix_name == "." || posix_name == "..") return std::string(posix_name);
  // Every character mapped here is ASCII, so it never occurs inside a multi-byte sequence.
  const std::size_t first_kept = posix_name.find_first_not_of(' ');
  const std::size_t last_kept = posix_name.find_last_not_of(" .");
  std::string result;
  result.reserve(posix_name.size());
  for (std::size_t i = 0; i < posix_name.size(); ++i) {
    const auto byte = static_cast<unsigned char>(posix_name[i]);
    const bool at_an_end = i < first_kept || last_kept == std::string_view::npos || i > last_kept;
    if (IsForbiddenInName(byte) || (at_an_end && IsMappedAtEnds(byte))) {
      AppendUtf8(result, kMappedBase + byte);
    } else {
      result += static_cast<char>(byte);
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
    if (IsRefused(ch) || ch == U'/' || ch == 0) return false;
    if (ch > kMappedBase &&
        (IsForbiddenInName(ch - kMappedBase) || IsMappedAtEnds(ch - kMappedBase))) {
      posix_name += static_cast<char>(ch - kMappedBase);
    } else {
      posix_name.append(windows_name, start, pos - start);
    }
  }
  return true;
}

}  // namespace tarvik
