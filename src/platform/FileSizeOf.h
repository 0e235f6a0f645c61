#pragma once

#include <cstdint>
#include <string>

#include "platform/Platform.h"

namespace tarvik {

// Size in bytes of the file at `path`, -1 when it cannot be opened for reading (also for a
// text that is no file name, such as "*.*"). Throws IoError when the size of the opened file
// cannot be taken. The file is closed before the call returns.
std::int64_t FileSizeOf(Platform& platform, const std::string& path);

}  // namespace tarvik
