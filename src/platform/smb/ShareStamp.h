#pragma once

#include <sys/stat.h>

#include <cstdint>

#include "platform/Platform.h"

namespace tarvik {

// Stamps a share's directory from the status the server gave for it, asked at `asked_at`
// (RealTimeNanoseconds() read before the request went out). True when the directory is settled:
// any later change of its entries must then give it other times.
bool StampFromStatus(const struct stat& status, std::int64_t asked_at, DirectoryStamp& stamp);

}  // namespace tarvik
