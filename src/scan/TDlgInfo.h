#pragma once

#include <string>

#include "ui/Button.h"
#include "ui/Label.h"
#include "ui/Window.h"

namespace tarvik {

// The notice at the end of a check: a small window that stays on top of the others and tells
// whether the check found errors. Not modal; it stays until its button or the next command
// hides it.
class TDlgInfo : public Window {
 public:
  TDlgInfo();

  // Captions the window, shows the text centred in Label1 and brings the window to the front.
  // Never fails: always true.
  bool ShowInfo(const std::string& text, const std::string& caption);

  // The "Скрыть" button.
  void Button1Click() { Hide(); }

  Label GroupBox1;  // the frame around Label1, without a caption
  Label Label1;
  Button Button1;
};

}  // namespace tarvik
