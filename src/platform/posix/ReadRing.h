#pragma once

#include <sys/types.h>

#include <cstddef>
#include <memory>

struct io_uring;

namespace tarvik {

// One read at a time through the kernel's io_uring. The caller waits for it in slices and may
// stop waiting; the read goes on in the kernel meanwhile, without a thread of ours. A read that
// must wait for the medium costs the one wake-up a plain read costs, where handing it to a
// thread costs two thread switches (a few tens of microseconds each in a virtual machine).
class ReadRing {
 public:
  // Null where the kernel offers no io_uring or no read through it (too old a kernel, or one
  // whose settings or sandbox refuse it).
  static std::unique_ptr<ReadRing> Make();
  ~ReadRing();
  ReadRing(const ReadRing&) = delete;
  ReadRing& operator=(const ReadRing&) = delete;

  // Starts reading up to `size` bytes of `fd` from its file position into `into`, which must
  // stay valid until Wait has given the read's end. False when the kernel refused the request,
  // which may stay in the ring: the ring is then not to be used again.
  bool Start(int fd, void* into, std::size_t size);
  // Waits for the read started up to `ms` milliseconds (without limit when negative). True
  // when it has ended, with `result` what read(2) returns and `error` its errno.
  bool Wait(int ms, ssize_t& result, int& error);

 private:
  ReadRing();
  std::unique_ptr<io_uring> ring_;  // null once its setup failed
};

}  // namespace tarvik
