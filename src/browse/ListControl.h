#pragma once

#include <string>
#include <utility>

#include "util/Signal.h"

namespace tarvik {

// What each of the browsing lists has besides its entries: whether it takes input, its hint,
// and the signal that tells the front end to bring its widget up to date.
class ListControl {
 public:
  // A disabled list takes no input from the user; the program may still move it.
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    StateChanged();
  }

  // Shown as a tooltip when the pointer rests on the list; empty for none.
  const std::string& Hint() const { return hint_; }
  void SetHint(std::string hint) { hint_ = std::move(hint); }

  // The list's state changed (entries, selection, enabling), for the front end to mark its
  // widget stale. Not an event of the behaviour: it fires more often than OnChange and in
  // other places.
  Signal StateChanged;

 protected:
  ListControl() = default;
  ~ListControl() = default;

 private:
  bool enabled_ = true;
  std::string hint_;
};

}  // namespace tarvik
