#pragma once

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

namespace tarvik {

// A TCP forwarder on 127.0.0.1 that holds every chunk it passes on for a fixed delay in each
// direction, so that a loopback server answers with the round trip of a real network. The
// kernel here has no netem queueing discipline, so the delay is made in user space: one
// thread per direction reads, stamps each chunk with its time of arrival and sends the chunks
// in order once their time has come. Each accepted connection gets its own connection to
// the target port. Every connection is cut and every thread joined with the object.
class DelayRelay {
 public:
  // Listens at a free port; throws std::runtime_error when it cannot.
  DelayRelay(int target_port, std::chrono::microseconds delay);
  ~DelayRelay();
  DelayRelay(const DelayRelay&) = delete;
  DelayRelay& operator=(const DelayRelay&) = delete;

  int port() const { return port_; }

 private:
  struct Connection;

  void Accept();

  const int target_port_;
  const std::chrono::microseconds delay_;
  int listener_ = -1;
  int port_ = 0;
  // Written by the acceptor alone, and read only once it has ended.
  std::vector<std::unique_ptr<Connection>> connections_;
  std::thread acceptor_;
};

}  // namespace tarvik
