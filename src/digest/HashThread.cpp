#include "digest/HashThread.h"

#include <new>
#include <system_error>

#include "digest/DigestContexts.h"
#include "digest/ValueWait.h"
#include "platform/IoError.h"
#include "util/AlignedMemory.h"

namespace tarvik {

namespace {

// The buffers start on a page, as the file's bytes do in the page cache: the kernel copies a
// block fastest then. A buffer 16 bytes past a page start, where an allocation this large
// lands by default, makes every read of a file on tmpfs take three times as long.
constexpr std::size_t kPage = 4096;

}  // namespace

void HashThread::Free::operator()(char* buffers) const { FreeAligned(buffers); }

HashThread::HashThread() = default;

HashThread::~HashThread() {
  if (!thread_.joinable()) return;
  EndFile();
  stopping_.store(true);
  Post();
  thread_.join();
}

void HashThread::BeginFile(DigestKinds kinds, std::size_t block_size, std::int64_t file_size) {
  // A file left by an error may still have blocks on the thread.
  EndFile();
  if (capacity_ < block_size) {
    buffers_.reset();
    capacity_ = 0;
    const std::size_t size = (block_size * kBuffers + kPage - 1) / kPage * kPage;
    buffers_.reset(static_cast<char*>(AllocateAligned(kPage, size)));
    if (!buffers_) throw std::bad_alloc();
    capacity_ = block_size;
  }
  block_size_ = block_size;
  on_reader_ = file_size < kThreadMinBytes;
  if (kinds != 0) {
    if (!contexts_) contexts_ = std::make_unique<DigestContexts>();
    if (!on_reader_ && !thread_.joinable()) {
      try {
        thread_ = std::thread([this] { Serve(); });
      } catch (const std::system_error&) {
        throw IoError(kErrNotEnoughMemory, "Not enough memory to start a thread");
      }
    }
    for (std::size_t i = 0; i < kDigestKinds; ++i) {
      const auto kind = static_cast<DigestKind>(i);
      if ((kinds & KindBit(kind)) != 0) contexts_->Begin(kind);
    }
  }
  // Only now: a file that could not begin has no digests to end.
  kinds_ = kinds;
}

char* HashThread::NextBuffer() {
  if (written_ - hashed_.load(std::memory_order_acquire) >= kBuffers) {
    WaitHashed(written_ - kBuffers / 2);
  }
  return buffers_.get() + (written_ % kBuffers) * block_size_;
}

void HashThread::Post() {
  ++posted_;
  // Sequentially consistent with the thread's store of thread_sleeps_ and load of the count:
  // either the thread sees this block, or this sees it asleep and wakes it.
  posted_shared_.store(posted_);
  if (thread_sleeps_.load()) WakeOne(posted_shared_);
}

void HashThread::WaitHashed(std::uint32_t at_least) {
  // Sequentially consistent with the thread's store of hashed_ and load of wake_at_: either
  // this load sees the block hashed, or the thread sees what it is waited for and wakes it.
  wake_at_.store(at_least);
  // Counts wrap: "at least" is a difference that is not negative.
  for (std::uint32_t hashed = hashed_.load(); static_cast<std::int32_t>(hashed - at_least) < 0;
       hashed = hashed_.load()) {
    WaitWhile(hashed_, hashed);
  }
}

void HashThread::EndFile() {
  if (kinds_ == 0) return;
  // The thread can take no block after this; the one it may have begun is waited for.
  const std::uint32_t first_left = taken_.exchange(written_);
  WaitHashed(first_left);
  for (std::uint32_t block = first_left; block != written_; ++block) Update(block % kBuffers);
  hashed_.store(written_);
  posted_ = written_;
  for (std::size_t i = 0; i < kDigestKinds; ++i) {
    const auto kind = static_cast<DigestKind>(i);
    if ((kinds_ & KindBit(kind)) == 0) continue;
    results_[i] = Digest{kind, {}};
    contexts_->Finish(kind, results_[i]);
  }
  kinds_ = 0;
}

void HashThread::Update(std::size_t slot) {
  const char* block = buffers_.get() + slot * block_size_;
  for (std::size_t i = 0; i < kDigestKinds; ++i) {
    const auto kind = static_cast<DigestKind>(i);
    if ((kinds_ & KindBit(kind)) != 0) contexts_->Update(kind, block, sizes_[slot]);
  }
}

void HashThread::Serve() {
  while (true) {
    const std::uint32_t posted = posted_shared_.load();
    // The reader wrote the blocks, their sizes and the kinds before it posted.
    if (stopping_.load()) return;
    std::uint32_t block = taken_.load();
    // Counts wrap: the reader may have taken blocks beyond those posted.
    if (static_cast<std::int32_t>(posted - block) <= 0) {
      thread_sleeps_.store(true);
      if (posted_shared_.load() == posted) WaitWhile(posted_shared_, posted);
      thread_sleeps_.store(false);
      continue;
    }
    // Fails when the reader took the rest at the file's end.
    if (!taken_.compare_exchange_strong(block, block + 1)) continue;
    Update(block % kBuffers);
    hashed_.store(block + 1);
    if (wake_at_.load() == block + 1) WakeOne(hashed_);
  }
}

}  // namespace tarvik
