#pragma once

#include <string>
#include <utility>

#include "ui/Control.h"

namespace tarvik {

class CheckBox : public Control {
 public:
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption) { Assign(caption_, std::move(caption)); }

  bool Checked() const { return checked_; }
  // Fires OnClick on every change, by the user or by the program, so that a handler that
  // derives state from the box never misses one.
  void SetChecked(bool checked) {
    if (Assign(checked_, checked)) OnClick();
  }

  // The user's click: toggles the box unless it is disabled.
  void Click() {
    if (Enabled()) SetChecked(!checked_);
  }

  Signal OnClick;

 private:
  std::string caption_;
  bool checked_ = false;
};

}  // namespace tarvik
