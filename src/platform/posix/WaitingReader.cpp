#include "platform/posix/WaitingReader.h"

#include <sys/uio.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace tarvik {

struct WaitingReader::Slot {
  std::mutex mutex;
  int fd = -1;
  std::size_t size = 0;
  // The helper's own buffer, kept for the reads that follow, so that a read given up never
  // writes into memory its caller has let go.
  std::unique_ptr<char[]> bytes;
  std::size_t capacity = 0;
  ssize_t result = 0;
  int error = 0;
  bool done = false;
  bool close_after = false;  // released while the read was given up: the helper closes the file

  void Read() {
    const ssize_t got = read(fd, bytes.get(), size);
    Finish(got, errno);
  }

  void Finish(ssize_t got, int read_error) {
    std::lock_guard lock(mutex);
    result = got;
    error = read_error;
    done = true;
    if (close_after) close(fd);
  }
};

bool WaitingReader::Release(int fd) {
  modes_.erase(fd);
  const auto found = given_up_.find(fd);
  if (found == given_up_.end()) return true;
  const std::shared_ptr<Slot> slot = std::move(found->second);
  given_up_.erase(found);
  std::lock_guard lock(slot->mutex);
  slot->close_after = !slot->done;
  return slot->done;
}

WaitingReader::Mode WaitingReader::ModeFor(FileSystemKind kind) {
  switch (kind) {
    case FileSystemKind::kMemory:
      return Mode::kDirect;
    case FileSystemKind::kLocalDisk:
      return Mode::kNoWait;
    case FileSystemKind::kOther:
      // Others may accept the question whether data is in memory and wait all the same
      // (FUSE does), so their reads all go to the helper.
      return Mode::kHelper;
  }
  return Mode::kHelper;
}

void WaitingReader::Learn(int fd, FileSystemKind kind) { modes_[fd] = ModeFor(kind); }

WaitingReader::Mode WaitingReader::ModeOf(int fd) {
  const auto known = modes_.find(fd);
  if (known != modes_.end()) return known->second;
  struct statfs volume {};
  const Mode mode =
      fstatfs(fd, &volume) == 0 ? ModeFor(KindOfFileSystem(volume.f_type)) : Mode::kHelper;
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
        // A file the question cannot be asked of is read as on other file systems.
        modes_[fd] = Mode::kHelper;
        return ReadAside(fd, buffer, size, waiting, false);
      }
      if (errno != EAGAIN) return got;
      return ReadAside(fd, buffer, size, waiting, true);
    }
    case Mode::kHelper:
      return ReadAside(fd, buffer, size, waiting, false);
  }
  return read(fd, buffer, size);
}

ssize_t WaitingReader::ReadAside(int fd, void* buffer, std::size_t size,
                                 const std::function<bool()>& waiting, bool through_ring) {
  if (!slot_) slot_ = std::make_shared<Slot>();
  Slot& slot = *slot_;
  if (slot.capacity < size) {
    slot.bytes = std::make_unique_for_overwrite<char[]>(size);
    slot.capacity = size;
  }
  slot.fd = fd;
  slot.size = size;
  slot.done = false;
  if (through_ring && !ring_tried_) {
    ring_ = ReadRing::Make();
    ring_tried_ = true;
  }
  const bool in_ring = through_ring && ring_ != nullptr && ring_->Start(fd, slot.bytes.get(), size);
  // A request the kernel refused may still sit in the ring, to go with the next one into a
  // buffer that may be gone by then: the ring is let go, and the helper reads from now on.
  if (through_ring && !in_ring) ring_.reset();
  const bool done = in_ring ? WaitForRing(slot, waiting) : WaitForThread(waiting);
  if (!done) {
    given_up_[fd] = std::move(slot_);
    errno = ECANCELED;
    return -1;
  }
  if (slot.result > 0) std::memcpy(buffer, slot.bytes.get(), static_cast<std::size_t>(slot.result));
  errno = slot.error;
  return slot.result;
}

bool WaitingReader::WaitForRing(Slot& slot, const std::function<bool()>& waiting) {
  ssize_t got = 0;
  int read_error = 0;
  while (!ring_->Wait(waiting ? CallThread::kWaitMs : -1, got, read_error)) {
    if (waiting && !waiting()) {
      // The kernel may still write into the slot's buffer: a thread of its own keeps the ring
      // and the slot until the read ends, and the next read gets new ones.
      GiveUpRing();
      return false;
    }
  }
  slot.Finish(got, read_error);
  return true;
}

void WaitingReader::GiveUpRing() {
  auto waits_for_end = [ring = std::shared_ptr<ReadRing>(std::move(ring_)), slot = slot_] {
    ssize_t got = 0;
    int read_error = 0;
    if (ring->Wait(-1, got, read_error)) slot->Finish(got, read_error);
  };
  ring_tried_ = false;
  try {
    std::thread(waits_for_end).detach();
  } catch (const std::system_error&) {
    // Without a thread nothing can tell when the kernel is done with them: they are kept for
    // the rest of the process.
    static auto* const kept = new std::vector<std::function<void()>>;
    kept->push_back(std::move(waits_for_end));
  }
}

bool WaitingReader::WaitForThread(const std::function<bool()>& waiting) {
  if (!helper_) helper_ = std::make_unique<CallThread>();
  if (helper_->Run([slot = slot_] { slot->Read(); }, waiting)) return true;
  // The read may stay in the kernel for long: its helper goes on alone (CallThread lets a
  // busy thread go), it keeps its buffer, and the next read gets new ones.
  helper_.reset();
  return false;
}

}  // namespace tarvik
