#pragma once

#include <string>
#include <utility>

#include "ui/Control.h"

namespace tarvik {

// A one-line text field. The user's typing and the program's assignments both go through
// SetText, so OnChange means the same thing whoever changed the text.
class Edit : public Control {
 public:
  const std::string& Text() const { return text_; }
  // Fires OnChange only when the text really changes: handlers that do costly work (such as
  // measuring the file whose name the field shows) rely on that.
  void SetText(std::string text) {
    if (Assign(text_, std::move(text))) OnChange();
  }

  // A read-only field refuses the user's typing; the program may still set its text.
  bool ReadOnly() const { return read_only_; }
  void SetReadOnly(bool read_only) { Assign(read_only_, read_only); }

  Signal OnChange;

 private:
  std::string text_;
  bool read_only_ = false;
};

}  // namespace tarvik
