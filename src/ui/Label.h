#pragma once

#include <string>
#include <utility>

#include "ui/Control.h"

namespace tarvik {

// A static text: group box captions, field labels and the capacity label.
class Label : public Control {
 public:
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption) { Assign(caption_, std::move(caption)); }

 private:
  std::string caption_;
};

}  // namespace tarvik
