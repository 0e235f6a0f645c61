#pragma once

#include <string>

namespace tarvik {

// Whether the user may create a file in a folder (a system path), asked without making one:
// kNoError, or the code that creating the file would fail with.
int MayCreateFileIn(const std::string& system_folder);

}  // namespace tarvik
