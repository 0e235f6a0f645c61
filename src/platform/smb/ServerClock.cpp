#include "platform/smb/ServerClock.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <string>

namespace tarvik {

namespace {

// A FILETIME counts 100 ns ticks from 1601; this many lie before 1970.
constexpr std::uint64_t kFileTimeAtUnixEpoch = 116'444'736'000'000'000ULL;

constexpr std::size_t kHeaderSize = 64;
// A NetBIOS session header, the SMB2 header and a NEGOTIATE request offering the dialects
// 2.0.2, 2.1, 3.0 and 3.0.2 (3.1.1 would need negotiate contexts, and changes no time).
constexpr std::array<unsigned char, 4 + kHeaderSize + 36 + 8> kNegotiate = [] {
  std::array<unsigned char, 4 + kHeaderSize + 36 + 8> request{};
  request[3] = kHeaderSize + 36 + 8;
  unsigned char* header = request.data() + 4;
  header[0] = 0xFE;
  header[1] = 'S';
  header[2] = 'M';
  header[3] = 'B';
  header[4] = kHeaderSize;  // structure size; the command (NEGOTIATE) is 0
  header[14] = 1;           // one credit asked for
  unsigned char* body = header + kHeaderSize;
  body[0] = 36;  // structure size
  body[2] = 4;   // dialect count
  body[4] = 1;   // signing enabled
  const unsigned short dialects[] = {0x0202, 0x0210, 0x0300, 0x0302};
  for (int d = 0; d < 4; ++d) {
    body[36 + 2 * d] = dialects[d] & 0xFF;
    body[37 + 2 * d] = dialects[d] >> 8;
  }
  return request;
}();
// The system time lies 40 bytes into the response's body.
constexpr std::size_t kSystemTimeAt = 4 + kHeaderSize + 40;

std::uint64_t LittleEndian(const unsigned char* bytes, int count) {
  std::uint64_t value = 0;
  for (int b = count - 1; b >= 0; --b) value = value << 8 | bytes[b];
  return value;
}

// Waits until `socket` is ready for `events` or the deadline (monotonic) has passed.
bool Ready(int socket, short events, std::int64_t deadline) {
  const std::int64_t left = deadline - MonotonicNanoseconds();
  if (left <= 0) return false;
  pollfd ready{socket, events, 0};
  const int milliseconds = static_cast<int>(left / 1'000'000) + 1;
  int count;
  while ((count = poll(&ready, 1, milliseconds)) < 0 && errno == EINTR) {
  }
  return count == 1 && (ready.revents & events) != 0;
}

// Reads exactly `size` bytes, or fails.
bool ReadAll(int socket, unsigned char* bytes, std::size_t size, std::int64_t deadline) {
  while (size > 0) {
    if (!Ready(socket, POLLIN, deadline)) return false;
    const ssize_t count = recv(socket, bytes, size, 0);
    if (count <= 0) return false;
    bytes += count;
    size -= static_cast<std::size_t>(count);
  }
  return true;
}

std::optional<ServerClock> Negotiate(int socket, std::int64_t deadline) {
  if (!Ready(socket, POLLOUT, deadline)) return std::nullopt;
  int error = 0;
  socklen_t length = sizeof error;
  if (getsockopt(socket, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0) {
    return std::nullopt;
  }
  const std::int64_t sent_at = MonotonicNanoseconds();
  if (send(socket, kNegotiate.data(), kNegotiate.size(), MSG_NOSIGNAL) !=
      static_cast<ssize_t>(kNegotiate.size())) {
    return std::nullopt;
  }
  std::array<unsigned char, kSystemTimeAt + 8> response;
  if (!ReadAll(socket, response.data(), response.size(), deadline)) return std::nullopt;
  const std::int64_t answered_at = MonotonicNanoseconds();
  const unsigned char* header = response.data() + 4;
  const bool negotiated = header[0] == 0xFE && header[1] == 'S' && header[2] == 'M' &&
                          header[3] == 'B' && LittleEndian(header + 8, 4) == 0 &&
                          LittleEndian(header + 12, 2) == 0;
  const std::uint64_t file_time = LittleEndian(response.data() + kSystemTimeAt, 8);
  if (!negotiated || file_time <= kFileTimeAtUnixEpoch) return std::nullopt;
  const auto server_time = static_cast<std::int64_t>(file_time - kFileTimeAtUnixEpoch) * 100;
  // The server read its clock somewhere between our sending and its answer arriving.
  const std::int64_t half_trip = (answered_at - sent_at) / 2 + 1;
  return ServerClock{server_time - (sent_at + half_trip), half_trip, answered_at};
}

}  // namespace

std::optional<ServerClock> AskServerClock(const std::string& host, std::uint16_t port,
                                          int deadline_ms) {
  const std::int64_t deadline =
      MonotonicNanoseconds() + static_cast<std::int64_t>(deadline_ms) * 1'000'000;
  addrinfo hints{};
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICSERV;
  addrinfo* found = nullptr;
  if (getaddrinfo(host.c_str(), std::to_string(port == 0 ? 445 : port).c_str(), &hints, &found) !=
      0) {
    return std::nullopt;
  }
  std::optional<ServerClock> clock;
  for (const addrinfo* address = found; address != nullptr && !clock; address = address->ai_next) {
    const int socket =
        ::socket(address->ai_family, address->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                 address->ai_protocol);
    if (socket < 0) continue;
    if (connect(socket, address->ai_addr, address->ai_addrlen) == 0 || errno == EINPROGRESS) {
      clock = Negotiate(socket, deadline);
    }
    close(socket);
  }
  freeaddrinfo(found);
  return clock;
}

}  // namespace tarvik
