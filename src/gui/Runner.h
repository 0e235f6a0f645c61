#pragma once

#include <functional>

#include "Refresher.h"
#include "ui/Dialogs.h"

namespace tarvik {

// Runs a handler of the user's action: errors that end the command go to the error box, and
// every widget is brought up to date when the command is over.
class Runner {
 public:
  Runner(Dialogs& dialogs, Refresher& refresher) : dialogs_(dialogs), refresher_(refresher) {}

  void operator()(const std::function<void()>& handler) const;

  Refresher& refresher() const { return refresher_; }

 private:
  Dialogs& dialogs_;
  Refresher& refresher_;
};

}  // namespace tarvik
