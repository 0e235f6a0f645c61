#include "platform/posix/WaitingReader.h"

#include <linux/magic.h>
#include <sys/uio.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>

namespace tarvik {

struct WaitingReader::Helper {
  std::mutex mutex;
  std::condition_variable changed;
  std::thread thread;
  bool stopping = false;
  bool pending = false;    // a read waits for the thread or is being done
  bool given_up = false;   // its caller went on without it; the thread ends after it
  bool close_after = false;  // the thread closes the file once the read returns
  int fd = -1;
  std::size_t size = 0;
  ssize_t result = 0;
  int error = 0;
  // The thread's own buffer, kept for the reads that follow, so that a read given up never
  // writes into memory its caller has let go.
  std::unique_ptr<char[]> bytes;
  std::size_t capacity = 0;

  // The thread's loop. It holds its own reference, so the state outlives a reader that let
  // it go.
  static void Serve(const std::shared_ptr<Helper>& self);
};

void WaitingReader::Helper::Serve(const std::shared_ptr<Helper>& self) {
  Helper& helper = *self;
  std::unique_lock lock(helper.mutex);
  while (true) {
    helper.changed.wait(lock, [&] { return helper.stopping || helper.pending; });
    if (helper.stopping) return;
    const int fd = helper.fd;
    char* bytes = helper.bytes.get();
    const std::size_t size = helper.size;
    lock.unlock();
    const ssize_t got = read(fd, bytes, size);
    const int error = errno;
    lock.lock();
    helper.result = got;
    helper.error = error;
    helper.pending = false;
    if (helper.given_up) {
      if (helper.close_after) close(fd);
      return;
    }
    helper.changed.notify_all();
  }
}

WaitingReader::~WaitingReader() {
  if (!helper_) return;
  {
    std::lock_guard lock(helper_->mutex);
    helper_->stopping = true;
  }
  helper_->changed.notify_all();
  helper_->thread.join();
}

bool WaitingReader::Release(int fd) {
  modes_.erase(fd);
  const auto found = given_up_.find(fd);
  if (found == given_up_.end()) return true;
  const std::shared_ptr<Helper> helper = std::move(found->second);
  given_up_.erase(found);
  std::lock_guard lock(helper->mutex);
  helper->close_after = helper->pending;
  return !helper->pending;
}

WaitingReader::Mode WaitingReader::ModeOf(int fd) {
  const auto known = modes_.find(fd);
  if (known != modes_.end()) return known->second;
  struct statfs volume {};
  Mode mode = Mode::kHelper;
  if (fstatfs(fd, &volume) == 0) {
    switch (volume.f_type) {
      case TMPFS_MAGIC:
      case RAMFS_MAGIC:
        mode = Mode::kDirect;
        break;
      // These tell at once whether data is in memory. Others may accept the question and
      // wait all the same (FUSE does), so their reads all go to the helper.
      case EXT4_SUPER_MAGIC:
      case XFS_SUPER_MAGIC:
      case BTRFS_SUPER_MAGIC:
        mode = Mode::kNoWait;
        break;
      default:
        break;
    }
  }
  modes_.emplace(fd, mode);
  return mode;
}

ssize_t WaitingReader::Read(int fd, void* buffer, std::size_t size,
                            const std::function<bool()>& waiting) {
  switch (ModeOf(fd)) {
    case Mode::kDirect:
      return read(fd, buffer, size);
    case Mode::kNoWait: {
      iovec vector{buffer, size};
      const ssize_t got = preadv2(fd, &vector, 1, -1, RWF_NOWAIT);
      if (got >= 0) return got;
      if (errno == EOPNOTSUPP || errno == EINVAL) {
        modes_[fd] = Mode::kHelper;
      } else if (errno != EAGAIN) {
        return got;
      }
      return ReadOnHelper(fd, buffer, size, waiting);
    }
    case Mode::kHelper:
      return ReadOnHelper(fd, buffer, size, waiting);
  }
  return read(fd, buffer, size);
}

ssize_t WaitingReader::ReadOnHelper(int fd, void* buffer, std::size_t size,
                                    const std::function<bool()>& waiting) {
  if (!helper_) {
    helper_ = std::make_shared<Helper>();
    helper_->thread = std::thread([self = helper_] { Helper::Serve(self); });
  }
  Helper& helper = *helper_;
  std::unique_lock lock(helper.mutex);
  if (helper.capacity < size) {
    helper.bytes = std::make_unique_for_overwrite<char[]>(size);
    helper.capacity = size;
  }
  helper.fd = fd;
  helper.size = size;
  helper.pending = true;
  helper.changed.notify_all();
  while (!helper.changed.wait_for(lock, std::chrono::milliseconds(kWaitMs),
                                  [&] { return !helper.pending; })) {
    // The caller's work runs unlocked, so the helper can hand its result over meanwhile.
    lock.unlock();
    const bool keep_waiting = !waiting || waiting();
    lock.lock();
    if (keep_waiting) continue;
    if (helper.pending) {
      // The thread may stay in the kernel for long: it goes on alone and ends after the read.
      helper.given_up = true;
      helper.thread.detach();
      lock.unlock();
      given_up_[fd] = std::move(helper_);
    }
    errno = ECANCELED;
    return -1;
  }
  if (helper.result > 0) std::memcpy(buffer, helper.bytes.get(), static_cast<std::size_t>(helper.result));
  errno = helper.error;
  return helper.result;
}

}  // namespace tarvik
