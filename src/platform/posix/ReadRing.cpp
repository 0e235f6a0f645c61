#include "platform/posix/ReadRing.h"

#include <liburing.h>

#include <cerrno>
#include <ctime>

namespace tarvik {

ReadRing::ReadRing() : ring_(std::make_unique<io_uring>()) {}

std::unique_ptr<ReadRing> ReadRing::Make() {
  std::unique_ptr<ReadRing> ring(new ReadRing);
  if (io_uring_queue_init(2, ring->ring_.get(), 0) != 0) {
    ring->ring_.reset();  // nothing to let go
    return nullptr;
  }
  io_uring_probe* probe = io_uring_get_probe_ring(ring->ring_.get());
  const bool reads = probe != nullptr && io_uring_opcode_supported(probe, IORING_OP_READ) != 0;
  if (probe != nullptr) io_uring_free_probe(probe);
  if (!reads) return nullptr;  // the destructor lets the ring go
  return ring;
}

ReadRing::~ReadRing() {
  if (ring_) io_uring_queue_exit(ring_.get());
}

bool ReadRing::Start(int fd, void* into, std::size_t size) {
  io_uring_sqe* request = io_uring_get_sqe(ring_.get());
  if (request == nullptr) return false;
  // An offset of -1 reads from the file position and moves it, as read(2) does.
  io_uring_prep_read(request, fd, into, static_cast<unsigned>(size), static_cast<__u64>(-1));
  return io_uring_submit(ring_.get()) == 1;
}

bool ReadRing::Wait(int ms, ssize_t& result, int& error) {
  io_uring_cqe* completion = nullptr;
  int waited = 0;
  do {
    if (ms < 0) {
      waited = io_uring_wait_cqe(ring_.get(), &completion);
    } else {
      __kernel_timespec limit{ms / 1000, (ms % 1000) * 1'000'000L};
      waited = io_uring_wait_cqe_timeout(ring_.get(), &completion, &limit);
    }
  } while (waited == -EINTR);
  if (waited != 0) return false;
  result = completion->res < 0 ? -1 : completion->res;
  error = completion->res < 0 ? -completion->res : 0;
  io_uring_cqe_seen(ring_.get(), completion);
  return true;
}

}  // namespace tarvik
