#pragma once

#include <functional>

#include "ui/Dialogs.h"

namespace tarvik {

// Runs one handler of a user action. An IoError that ends the command is shown in the general
// error box (caption: the application title; text: the error's text and a full stop), and the
// program goes on. Every handler the front end starts goes through here.
void RunHandler(Dialogs& dialogs, const std::function<void()>& handler);

}  // namespace tarvik
