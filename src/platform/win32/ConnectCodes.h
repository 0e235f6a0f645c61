#pragma once

#include "platform/Platform.h"

namespace tarvik {

// The code the program knows for a failure of WNetAddConnection2W, and why it failed as far
// as the code tells: a refused or unanswered connection is "not connected" (2250), a computer
// or share not found is 67, a refused logon 86, a share that refuses the user 5.
int ConnectCode(unsigned long error, ConnectFailure& failure);

}  // namespace tarvik
