#include "util/Path.h"

#include "util/Text.h"
#include "util/Utf8.h"

namespace tarvik {

char UpCaseDrive(char letter) {
  return letter >= 'a' && letter <= 'z' ? static_cast<char>(letter - 'a' + 'A') : letter;
}

std::string DrivePart(std::string_view path) {
  if (path.size() >= 2 && path[1] == ':') return std::string(path.substr(0, 2));
  if (path.starts_with("\\\\")) {
    // Up to, not including, the backslash that ends the share name.
    const auto server_end = path.find('\\', 2);
    if (server_end == std::string_view::npos) return std::string(path);
    return std::string(path.substr(0, path.find('\\', server_end + 1)));
  }
  return {};
}

std::string FileNamePart(std::string_view path) {
  const auto cut = path.find_last_of("\\:");
  return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

std::string JoinPath(std::string_view directory, std::string_view name) {
  std::string path(directory);
  if (!path.ends_with('\\')) path += '\\';
  path += name;
  return path;
}

bool HasWildcards(std::string_view name) {
  return name.find_first_of("*?") != std::string_view::npos;
}

bool IsNamePattern(std::string_view pattern) {
  return pattern.find_first_of("\\/:") == std::string_view::npos;
}

void NormalizeDirPath(std::string& path, PathCase path_case) {
  TrimSpaces(path);
  if (path.empty()) return;
  if (path.back() != '\\') path += '\\';
  if (path_case == PathCase::kUpper) UpperCase1251(path);
}

void StripBrackets(std::string& text) {
  TrimSpaces(text);
  if (text.empty()) return;
  if (text.front() == '[') text.erase(0, 1);
  TrimSpaces(text);
  if (text.empty()) return;
  if (text.back() == ']') text.pop_back();
}

void SplitLastComponent(const std::string& path, std::string& name, std::string& parent) {
  name.clear();
  parent.clear();
  std::string copy = path;
  TrimSpaces(copy);
  if (!Utf8LongerThan(copy, 3)) return;
  if (copy.back() == '\\') {
    copy.pop_back();
    TrimSpaces(copy);
    if (!Utf8LongerThan(copy, 3)) return;
  }
  // A backslash byte never occurs inside a multi-byte UTF-8 character, so a byte search
  // splits at the same place as a character scan would.
  const auto slash = copy.rfind('\\');
  const auto cut = slash == std::string::npos ? 0 : slash + 1;
  name = copy.substr(cut);
  parent = copy.substr(0, cut);
}

}  // namespace tarvik
