#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <optional>

#include "platform/Platform.h"
#include "platform/smb/ServerClock.h"

namespace tarvik {

// The earliest time the server's clock can show now: from `clock` when the server told it its
// time, otherwise from ours, less the difference that clocks kept by a time service stay within.
std::int64_t EarliestServerTime(const std::optional<ServerClock>& clock);

// Stamps a share's directory from the status the server gave for it, asked when the server's
// clock showed at least `server_time` (EarliestServerTime() before the request went out). True
// when the directory is settled: any later change of its entries must then give it other times.
bool StampFromStatus(const struct stat& status, std::int64_t server_time, DirectoryStamp& stamp);

}  // namespace tarvik
