#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tarvik {

// A UTF-8 path as std::filesystem takes it. A plain std::string would be read in the ANSI code
// page on Windows, which cannot hold every name; on Linux both are the same bytes.
inline std::filesystem::path SystemPathOf(std::string_view utf8) {
  return std::filesystem::path(
      std::u8string_view(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

// A std::filesystem path back in UTF-8.
inline std::string Utf8Of(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace tarvik
