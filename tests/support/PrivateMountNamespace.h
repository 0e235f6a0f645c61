#pragma once

namespace tarvik {

// Moves the calling thread (and the threads it starts afterwards) into a mount namespace of
// its own whose mounts do not propagate back, so that what a test mounts is seen by nobody
// else and goes away with the process. Done once per process; returns 0 or the errno of the
// failure, the same on every call.
int EnterPrivateMountNamespace();

}  // namespace tarvik
