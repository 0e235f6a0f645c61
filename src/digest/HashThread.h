#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <thread>

#include "digest/Digest.h"

namespace tarvik {

class DigestContexts;

// Digests of one file at a time, computed on a helper thread from the blocks a reader hands
// over as it reads them. The reader reads the next block into another buffer while the last
// ones are hashed, so that reading and hashing overlap; the buffers are the reader's own read
// buffers, so no block is copied, and nothing is allocated per block. Handing a block over and
// taking a buffer back cost an atomic store or load each. A reader that finds every buffer
// taken sleeps until half of them are hashed, and only that block wakes it; the thread, once
// it has hashed all, sleeps until a block comes. Neither side makes a system call per block.
// The latest block is handed over only when the next one comes. At the file's end the reader
// takes the blocks the thread has not begun and hashes them itself, waiting only for the one
// the thread is hashing: a file of one block is never handed over, and the end of a file does
// not wait for the thread to be woken and run, which on a busy system takes milliseconds. Each
// block is taken once, by either side, in order. A file under kThreadMinBytes never touches the
// thread. One reader thread.
class HashThread {
 public:
  // The reader runs at most this many blocks ahead of the hashing.
  static constexpr std::uint32_t kBuffers = 32;
  // A file smaller than this is hashed by the reader as each block comes: waking the thread
  // for it and waiting for it at the file's end cost more than the thread saves, which is
  // a millisecond at most where reading is as fast as hashing, and nothing on a slower medium.
  static constexpr std::int64_t kThreadMinBytes = std::int64_t{1} << 20;

  HashThread();
  ~HashThread();
  HashThread(const HashThread&) = delete;
  HashThread& operator=(const HashThread&) = delete;

  // Starts a file of `file_size` bytes whose digests of `kinds` are wanted (none: the buffers
  // only), read in blocks of at most `block_size`. The first file of at least kThreadMinBytes
  // that wants a digest starts the thread; a thread the system refuses throws IoError, as the
  // digests promised cannot be given.
  void BeginFile(DigestKinds kinds, std::size_t block_size, std::int64_t file_size);
  // The buffer to read the next block into; waits until the block it held last is hashed.
  char* NextBuffer();
  // The buffer NextBuffer gave holds a block of `size` bytes: hashes it, on the thread unless
  // the file is too small for it.
  void Hash(std::size_t size) {
    if (kinds_ == 0) return;
    sizes_[written_ % kBuffers] = size;
    // A block hashed at once leaves its buffer free for the next one.
    if (on_reader_) {
      Update(written_ % kBuffers);
      return;
    }
    if (++written_ - posted_ > 1) Post();
  }
  // Waits for the blocks handed over; then Result gives the file's digests.
  void EndFile();
  // The digest of `kind`, one of the kinds of BeginFile, after EndFile.
  const Digest& Result(DigestKind kind) const { return results_[static_cast<std::size_t>(kind)]; }

 private:
  void Post();
  void Serve();
  // Adds the block in `slot` to the file's digests.
  void Update(std::size_t slot);
  void WaitHashed(std::uint32_t at_least);

  DigestKinds kinds_ = 0;
  // The file's blocks are hashed as they come, none on the thread.
  bool on_reader_ = false;
  std::size_t block_size_ = 0;
  std::size_t capacity_ = 0;
  struct Free {
    void operator()(char* buffers) const;
  };
  std::unique_ptr<char[], Free> buffers_;
  std::array<std::size_t, kBuffers> sizes_{};
  // Blocks read, handed over, taken to be hashed and hashed; counts that wrap, compared by their
  // difference. At most one block read is not yet handed over while the file is read; the
  // thread takes only blocks handed over, one at a time, and the reader the rest at the end.
  std::uint32_t written_ = 0;
  std::uint32_t posted_ = 0;
  std::atomic<std::uint32_t> posted_shared_{0};
  std::atomic<std::uint32_t> taken_{0};
  std::atomic<std::uint32_t> hashed_{0};
  // The count of hashed blocks the reader sleeps for, and whether the thread sleeps: each side
  // wakes the other only then, as a notify costs a system call even with nobody waiting.
  std::atomic<std::uint32_t> wake_at_{0};
  std::atomic<bool> thread_sleeps_{false};
  // Read by the thread at every turn, also while the reader sets it.
  std::atomic<bool> stopping_{false};
  std::unique_ptr<DigestContexts> contexts_;
  std::array<Digest, kDigestKinds> results_{};
  std::thread thread_;
};

}  // namespace tarvik
