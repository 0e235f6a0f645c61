#include "platform/posix/WindowsName.h"

#include "util/Utf8.h"

namespace tarvik {

namespace {

constexpr char32_t kMappedBase = 0xF000;

}  // namespace

bool IsForbiddenInName(char32_t ch) {
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

std::string ToWindowsName(std::string_view posix_name) {
  std::string result;
  result.reserve(posix_name.size());
  for (const char byte : posix_name) {
    // Forbidden characters are ASCII, so they never occur inside a multi-byte sequence.
    if (IsForbiddenInName(static_cast<unsigned char>(byte))) {
      AppendUtf8(result, kMappedBase + static_cast<unsigned char>(byte));
    } else {
      result += byte;
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
    if (IsForbiddenInName(ch) || ch == U'/' || ch == 0) return false;
    if (ch > kMappedBase && IsForbiddenInName(ch - kMappedBase)) {
      posix_name += static_cast<char>(ch - kMappedBase);
    } else {
      posix_name.append(windows_name, start, pos - start);
    }
  }
  return true;
}

}  // namespace tarvik
