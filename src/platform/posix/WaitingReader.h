#pragma once

#include <sys/types.h>

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <thread>
#include <unordered_map>

namespace tarvik {

// Reads that must not freeze the caller while the medium takes its time: a scratched disc can
// hold one read in the kernel for minutes. A read that would have to wait runs on a helper
// thread, and the caller's `waiting` runs on the caller's thread meanwhile, about every
// kWaitMs, so a window stays alive. Data already in memory is read at once on the caller's
// thread, so the common case costs no thread switch. One read at a time.
class WaitingReader {
 public:
  static constexpr int kWaitMs = 40;

  WaitingReader() = default;
  ~WaitingReader();
  WaitingReader(const WaitingReader&) = delete;
  WaitingReader& operator=(const WaitingReader&) = delete;

  // read(2) of up to `size` bytes from `fd`; -1 with errno set on failure.
  ssize_t Read(int fd, void* buffer, std::size_t size, const std::function<void()>& waiting);
  // Forgets what was learnt about `fd`, which is being closed.
  void Forget(int fd);

 private:
  // How reads of one file are done, learnt at its first read.
  enum class Mode {
    kDirect,  // a file system in memory: a read never waits for a medium
    kNoWait,  // read what is in memory at once, hand the rest to the helper
    kHelper,  // the file system cannot be asked: every read goes to the helper
  };

  Mode ModeOf(int fd);
  ssize_t ReadOnHelper(int fd, void* buffer, std::size_t size,
                       const std::function<void()>& waiting);
  void Serve();

  std::unordered_map<int, Mode> modes_;

  std::mutex mutex_;
  std::condition_variable changed_;
  std::thread helper_;  // started by the first read that needs it
  bool stopping_ = false;
  bool pending_ = false;  // a request waits for the helper or is being read
  int fd_ = -1;
  void* buffer_ = nullptr;
  std::size_t size_ = 0;
  ssize_t result_ = 0;
  int error_ = 0;
};

}  // namespace tarvik
