#pragma once

#include <string>

#include "platform/Platform.h"

// The lists keep the platform's current directory at the directory they show; every change of it
// is tested, and a failure ends the operation in progress.
namespace tarvik {

// Changes the current directory or throws IoError with the platform's code.
void ChangeDirectory(Platform& platform, const std::string& path);

// Changes the current directory to `path` if it is a directory, or throws IoError with the
// platform's code when it is one that cannot be entered.
void EnterIfDirectory(Platform& platform, const std::string& path);

}  // namespace tarvik
