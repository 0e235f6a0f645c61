#include "scan/ProblemLines.h"

namespace tarvik {

std::string Quoted(std::string_view prefix, const std::string& text, std::string_view suffix) {
  std::string quoted;
  quoted.reserve(prefix.size() + text.size() + suffix.size() + 2);
  quoted.append(prefix).append(1, '"').append(text).append(1, '"').append(suffix);
  return quoted;
}

std::string ProblemLine(const std::string& path, std::string_view suffix) {
  return Quoted("Файл : ", path, suffix);
}

}  // namespace tarvik
