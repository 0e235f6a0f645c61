#pragma once

#include <string>
#include <utility>

#include "ui/Button.h"
#include "ui/Memo.h"
#include "ui/Window.h"

namespace tarvik {

// The problem-files window: one line per problem found, in the order found, kept after the
// window is hidden until the next check clears it. The user may edit Memo1; whatever it then
// holds is the list. Show() (inherited) makes the window visible and brings it to the front,
// Hide() keeps its lines.
class TListError : public Window {
 public:
  TListError();

  void AddLine(std::string line) { Memo1.Append(std::move(line)); }
  // Removes every line; whether the window is shown does not change.
  void Clear() { Memo1.Clear(); }
  int Count() const { return Memo1.Count(); }

  // The "Скрыть" button.
  void OKButtonClick() { Hide(); }

  Memo Memo1;
  Button OKButton;  // the window's default button
};

}  // namespace tarvik
