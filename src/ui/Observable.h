#pragma once

#include <utility>

#include "util/Signal.h"

namespace tarvik {

// State that announces each real change, so that the front end can mark its widget stale.
// Storing a value equal to the one held announces nothing: a widget refresh costs far more
// than the comparison, and long commands store the same values again and again.
class Observable {
 public:
  Observable() = default;
  // Observers capture the address of the object they watch.
  Observable(const Observable&) = delete;
  Observable& operator=(const Observable&) = delete;

  Signal StateChanged;

 protected:
  ~Observable() = default;

  // True when the value differed and was stored.
  template <typename T>
  bool Assign(T& field, T value) {
    if (field == value) return false;
    field = std::move(value);
    StateChanged();
    return true;
  }
};

}  // namespace tarvik
