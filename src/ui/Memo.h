#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ui/Control.h"

namespace tarvik {

// A multi-line text box holding a list of lines. The program appends and clears; the user
// may edit the text freely, and whatever the box then holds counts as its lines.
class Memo : public Control {
 public:
  const std::vector<std::string>& Lines() const { return lines_; }
  int Count() const { return static_cast<int>(lines_.size()); }

  // Changes whenever lines other than appended ones change (Clear, the user's edit), so that
  // a view that has shown the first lines adds only the ones appended since.
  std::uint64_t Revision() const { return revision_; }

  void Append(std::string line);
  void Clear();

  // Every line followed by "\n", so that a trailing empty line survives SetText(Text()).
  std::string Text() const;
  // The user's edit: the text is split at "\r\n", "\r" and "\n"; a last line without a line
  // end counts, an empty text holds no line.
  void SetText(std::string_view text);

 private:
  std::vector<std::string> lines_;
  std::uint64_t revision_ = 0;
};

}  // namespace tarvik
