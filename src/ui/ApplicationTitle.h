#pragma once

#include <string>
#include <utility>

#include "ui/Observable.h"

namespace tarvik {

// The program's title as the desktop shows it on the taskbar, apart from any window's
// caption. There is one per process; a running check uses it as a progress display.
class ApplicationTitle : public Observable {
 public:
  static ApplicationTitle& Get();

  const std::string& Text() const { return text_; }
  void SetText(std::string text) { Assign(text_, std::move(text)); }

 private:
  ApplicationTitle() = default;

  std::string text_;
};

}  // namespace tarvik
