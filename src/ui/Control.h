#pragma once

#include <string>
#include <utility>

#include "ui/Observable.h"

namespace tarvik {

// What every control of a window has, whether the behaviour uses it or only the user sees it.
class Control : public Observable {
 public:
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) { Assign(enabled_, enabled); }

  bool Visible() const { return visible_; }
  void SetVisible(bool visible) { Assign(visible_, visible); }

  // Shown as a tooltip when the pointer rests on the control; empty for none.
  const std::string& Hint() const { return hint_; }
  void SetHint(std::string hint) { Assign(hint_, std::move(hint)); }

 protected:
  ~Control() = default;

 private:
  bool enabled_ = true;
  bool visible_ = true;
  std::string hint_;
};

}  // namespace tarvik
