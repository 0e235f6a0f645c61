#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/posix/DirectoryStamper.h"

namespace tarvik {

// A server's clock as this machine's monotonic clock sees it, in nanoseconds since the Unix
// epoch on the server's side.
struct ServerClock {
  std::int64_t offset = 0;       // the server's time less our monotonic clock
  std::int64_t uncertainty = 0;  // how far `offset` may be off, either way
  std::int64_t measured_at = 0;  // our monotonic clock when it was measured

  // The earliest time the server's clock can show at our monotonic time `monotonic`: the two
  // clocks drift apart by less than 100 parts per million, what a quartz keeps well within.
  std::int64_t EarliestAt(std::int64_t monotonic) const {
    return monotonic + offset - uncertainty - (monotonic - measured_at) / 10'000;
  }
};

// Asks the computer `host` (port 445 when `port` is 0) for its clock: the system time that an
// SMB2 negotiate response carries, on a connection of its own that is closed at once. Nothing
// when the name does not resolve, the server does not answer within `deadline_ms`, or it speaks
// no SMB2 dialect before 3.1.1.
std::optional<ServerClock> AskServerClock(const std::string& host, std::uint16_t port,
                                          int deadline_ms);

}  // namespace tarvik
