#include "util/Path.h"

#include "util/Text.h"
#include "util/Utf8.h"

namespace tarvik {

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
  if (Utf8Length(copy) <= 3) return;
  if (copy.back() == '\\') {
    copy.pop_back();
    TrimSpaces(copy);
    if (Utf8Length(copy) <= 3) return;
  }
  // A backslash byte never occurs inside a multi-byte UTF-8 character, so a byte search
  // splits at the same place as a character scan would.
  const auto slash = copy.rfind('\\');
  const auto cut = slash == std::string::npos ? 0 : slash + 1;
  name = copy.substr(cut);
  parent = copy.substr(0, cut);
}

}  // namespace tarvik
