#include "ui/Memo.h"

#include <utility>

namespace tarvik {

void Memo::Append(std::string line) {
  lines_.push_back(std::move(line));
  StateChanged();
}

void Memo::Clear() {
  if (lines_.empty()) return;
  lines_.clear();
  ++revision_;
  StateChanged();
}

std::string Memo::Text() const {
  std::string text;
  for (const auto& line : lines_) {
    text += line;
    text += '\n';
  }
  return text;
}

void Memo::SetText(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
  if (lines == lines_) return;
  ++revision_;
  lines_ = std::move(lines);
  StateChanged();
}

}  // namespace tarvik
