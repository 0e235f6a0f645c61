#include "platform/posix/WaitingReader.h"

#include <linux/magic.h>
#include <sys/uio.h>
#include <sys/vfs.h>

#include <cerrno>
#include <chrono>

namespace tarvik {

WaitingReader::~WaitingReader() {
  if (!helper_.joinable()) return;
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  helper_.join();
}

void WaitingReader::Forget(int fd) { modes_.erase(fd); }

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
                            const std::function<void()>& waiting) {
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
                                    const std::function<void()>& waiting) {
  std::unique_lock lock(mutex_);
  if (!helper_.joinable()) helper_ = std::thread([this] { Serve(); });
  fd_ = fd;
  buffer_ = buffer;
  size_ = size;
  pending_ = true;
  changed_.notify_all();
  while (
      !changed_.wait_for(lock, std::chrono::milliseconds(kWaitMs), [this] { return !pending_; })) {
    // The caller's work runs unlocked, so the helper can hand its result over meanwhile.
    lock.unlock();
    if (waiting) waiting();
    lock.lock();
  }
  errno = error_;
  return result_;
}

void WaitingReader::Serve() {
  std::unique_lock lock(mutex_);
  while (true) {
    changed_.wait(lock, [this] { return stopping_ || pending_; });
    if (stopping_) return;
    const int fd = fd_;
    void* buffer = buffer_;
    const std::size_t size = size_;
    lock.unlock();
    const ssize_t got = read(fd, buffer, size);
    const int error = errno;
    lock.lock();
    result_ = got;
    error_ = error;
    pending_ = false;
    changed_.notify_all();
  }
}

}  // namespace tarvik
