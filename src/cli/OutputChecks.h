#pragma once

#include <string>

#include "platform/Platform.h"

namespace tarvik {

// Whether two paths in drive form name one file: the same device and inode where both exist, so
// that hard and symbolic links count, otherwise the same path once the links of the part that
// exists are resolved. Paths that no local drive holds (a share's) are compared by their
// names, ignoring case.
bool SameFile(Platform& platform, const std::string& a, const std::string& b);

// Whether the file at `path` (drive form) can be created or replaced, found out without
// changing an existing file: kNoError, or the code that creating it would fail with. A file
// that does not exist yet is not made: its folder is asked whether it may be written.
int ProbeOutput(Platform& platform, const std::string& path);

}  // namespace tarvik
