#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tarvik {

// std::filesystem paths from and to the program's UTF-8 text. On Windows a path made from a
// plain string reads it in the ANSI code page, and gives it back so: a name outside it is lost.
inline std::filesystem::path Utf8Path(std::string_view text) {
  return std::filesystem::path(
      std::u8string_view(reinterpret_cast<const char8_t*>(text.data()), text.size()));
}

inline std::string Utf8Text(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace tarvik
