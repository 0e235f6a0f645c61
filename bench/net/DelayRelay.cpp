#include "DelayRelay.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <deque>
#include <stdexcept>

namespace tarvik {
namespace {

using Clock = std::chrono::steady_clock;

sockaddr_in Loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

// Small requests go out at once, as both ends of an SMB connection want them to; otherwise
// Nagle's algorithm and delayed acknowledgements would add their own waits to the relay's.
void SendAtOnce(int fd) {
  const int on = 1;
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

int ConnectTo(int port) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const sockaddr_in address = Loopback(port);
  if (fd >= 0 && connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
    return fd;
  }
  if (fd >= 0) close(fd);
  return -1;
}

bool SendAll(int fd, const std::vector<char>& bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t done = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (done < 0 && errno == EINTR) continue;
    if (done <= 0) return false;
    sent += static_cast<std::size_t>(done);
  }
  return true;
}

// Passes what arrives on `in` to `out`, each chunk `delay` after it arrived, in order. The end
// of `in` is passed on once everything before it has gone; a failed send cuts both sockets,
// which ends the other direction too.
void Forward(int in, int out, std::chrono::microseconds delay) {
  struct Chunk {
    Clock::time_point due;
    std::vector<char> bytes;
  };
  // The kernel's default timer slack of 50 us would lengthen each 0.25 ms wait by a fifth.
  prctl(PR_SET_TIMERSLACK, 1UL);
  std::deque<Chunk> held;
  std::vector<char> buffer(256 * 1024);
  bool open = true;
  while (open || !held.empty()) {
    if (open) {
      // Wait for more bytes, but no longer than until the first held chunk is due.
      timespec wait{};
      if (!held.empty()) {
        const auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(
            std::max(held.front().due - Clock::now(), Clock::duration::zero()));
        wait.tv_sec = static_cast<time_t>(left.count() / 1'000'000'000);
        wait.tv_nsec = static_cast<long>(left.count() % 1'000'000'000);
      }
      pollfd readable{in, POLLIN, 0};
      if (ppoll(&readable, 1, held.empty() ? nullptr : &wait, nullptr) > 0) {
        const ssize_t got = recv(in, buffer.data(), buffer.size(), 0);
        if (got > 0) {
          held.push_back({Clock::now() + delay, {buffer.begin(), buffer.begin() + got}});
        } else if (got == 0 || errno != EINTR) {
          open = false;
        }
      }
    } else {
      std::this_thread::sleep_until(held.front().due);
    }
    while (!held.empty() && held.front().due <= Clock::now()) {
      if (!SendAll(out, held.front().bytes)) {
        shutdown(in, SHUT_RDWR);
        shutdown(out, SHUT_RDWR);
        return;
      }
      held.pop_front();
    }
  }
  shutdown(out, SHUT_WR);
}

}  // namespace

struct DelayRelay::Connection {
  Connection(int client_fd, int server_fd, std::chrono::microseconds delay)
      : client(client_fd),
        server(server_fd),
        to_server(Forward, client_fd, server_fd, delay),
        to_client(Forward, server_fd, client_fd, delay) {}
  ~Connection() {
    shutdown(client, SHUT_RDWR);
    shutdown(server, SHUT_RDWR);
    to_server.join();
    to_client.join();
    close(client);
    close(server);
  }

  const int client;
  const int server;
  std::thread to_server;
  std::thread to_client;
};

DelayRelay::DelayRelay(int target_port, std::chrono::microseconds delay)
    : target_port_(target_port), delay_(delay) {
  listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address = Loopback(0);
  socklen_t size = sizeof address;
  if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
      listen(listener_, 16) != 0 ||
      getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
    if (listener_ >= 0) close(listener_);
    throw std::runtime_error("cannot listen on 127.0.0.1 for the relay");
  }
  port_ = ntohs(address.sin_port);
  acceptor_ = std::thread(&DelayRelay::Accept, this);
}

DelayRelay::~DelayRelay() {
  // Shutting the listening socket down ends the acceptor's wait in accept().
  shutdown(listener_, SHUT_RDWR);
  acceptor_.join();
  close(listener_);
  connections_.clear();
}

void DelayRelay::Accept() {
  for (;;) {
    const int client = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) {
      if (errno == EINTR || errno == ECONNABORTED) continue;
      return;
    }
    const int server = ConnectTo(target_port_);
    if (server < 0) {
      close(client);
      continue;
    }
    SendAtOnce(client);
    SendAtOnce(server);
    connections_.push_back(std::make_unique<Connection>(client, server, delay_));
  }
}

}  // namespace tarvik
