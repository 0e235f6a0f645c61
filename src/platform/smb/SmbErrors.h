#pragma once

#include "platform/Platform.h"

namespace tarvik {

// The network result code of a failed logon to a share, from the errno that libsmbclient
// left. `computer_refused` tells whether logging on to the computer alone with the same
// credentials was refused too: libsmbclient reports a wrong password and a share that refuses
// the user alike (EACCES), and only that second logon tells them apart.
int ConnectErrorCode(int error_number, bool computer_refused);
// The reason of the same failed logon.
ConnectFailure ConnectFailureOf(int error_number, bool computer_refused);

// Whether a request failed because the server cannot be reached any more: no answer, the
// connection reset, or a new one refused (libsmbclient connects again by itself when the
// old one broke).
bool ConnectionLost(int error_number);

}  // namespace tarvik
