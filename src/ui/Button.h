#pragma once

#include <string>
#include <utility>

#include "ui/Control.h"

namespace tarvik {

class Button : public Control {
 public:
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption) { Assign(caption_, std::move(caption)); }

  // The user's click; a disabled button cannot be clicked.
  void Click() {
    if (Enabled()) OnClick();
  }

  Signal OnClick;

 private:
  std::string caption_;
};

}  // namespace tarvik
