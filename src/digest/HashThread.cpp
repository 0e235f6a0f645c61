#include "digest/HashThread.h"

#include <openssl/evp.h>

#include <cstdlib>
#include <new>
#include <system_error>

#include "platform/IoError.h"

namespace tarvik {

namespace {

const char* AlgorithmName(DigestKind kind) {
  switch (kind) {
    case DigestKind::kMd5:
      return "MD5";
    case DigestKind::kSha1:
      return "SHA1";
    case DigestKind::kSha256:
      return "SHA256";
  }
  return "";
}

// The buffers start on a page, as the file's bytes do in the page cache: the kernel copies a
// block fastest then. A buffer 16 bytes past a page start, where an allocation this large
// lands by default, makes every read of a file on tmpfs take three times as long.
constexpr std::size_t kPage = 4096;

}  // namespace

void HashThread::Free::operator()(char* buffers) const { std::free(buffers); }

// One libcrypto context per kind, fetched once: starting a file then costs no look-up.
struct HashThread::Contexts {
  std::array<EVP_MD*, kDigestKinds> algorithms{};
  std::array<EVP_MD_CTX*, kDigestKinds> contexts{};

  Contexts() {
    for (std::size_t i = 0; i < kDigestKinds; ++i) {
      algorithms[i] = EVP_MD_fetch(nullptr, AlgorithmName(static_cast<DigestKind>(i)), nullptr);
      contexts[i] = EVP_MD_CTX_new();
      if (algorithms[i] == nullptr || contexts[i] == nullptr) {
        Free();
        throw IoError(kErrNotEnoughMemory, "Not enough memory for a digest");
      }
    }
  }
  ~Contexts() { Free(); }
  void Free() {
    for (std::size_t i = 0; i < kDigestKinds; ++i) {
      EVP_MD_CTX_free(contexts[i]);
      EVP_MD_free(algorithms[i]);
      contexts[i] = nullptr;
      algorithms[i] = nullptr;
    }
  }
};

HashThread::HashThread() = default;

HashThread::~HashThread() {
  if (!thread_.joinable()) return;
  EndFile();
  stopping_ = true;
  Post();
  thread_.join();
}

void HashThread::BeginFile(DigestKinds kinds, std::size_t block_size) {
  // A file left by an error may still have blocks on the thread.
  EndFile();
  if (capacity_ < block_size) {
    buffers_.reset();
    capacity_ = 0;
    const std::size_t size = (block_size * kBuffers + kPage - 1) / kPage * kPage;
    buffers_.reset(static_cast<char*>(std::aligned_alloc(kPage, size)));
    if (!buffers_) throw std::bad_alloc();
    capacity_ = block_size;
  }
  block_size_ = block_size;
  if (kinds != 0) {
    if (!contexts_) contexts_ = std::make_unique<Contexts>();
    if (!thread_.joinable()) {
      try {
        thread_ = std::thread([this] { Serve(); });
      } catch (const std::system_error&) {
        throw IoError(kErrNotEnoughMemory, "Not enough memory to start a thread");
      }
    }
    for (std::size_t i = 0; i < kDigestKinds; ++i) {
      if ((kinds & KindBit(static_cast<DigestKind>(i))) == 0) continue;
      EVP_DigestInit_ex2(contexts_->contexts[i], contexts_->algorithms[i], nullptr);
    }
  }
  // Only now: a file that could not begin has no digests to end.
  kinds_ = kinds;
  posted_at_begin_ = posted_;
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
  if (thread_sleeps_.load()) posted_shared_.notify_one();
}

void HashThread::WaitHashed(std::uint32_t at_least) {
  // Sequentially consistent with the thread's store of hashed_ and load of wake_at_: either
  // this load sees the block hashed, or the thread sees what it is waited for and wakes it.
  wake_at_.store(at_least);
  // Counts wrap: "at least" is a difference that is not negative.
  for (std::uint32_t hashed = hashed_.load(); static_cast<std::int32_t>(hashed - at_least) < 0;
       hashed = hashed_.load()) {
    hashed_.wait(hashed);
  }
}

void HashThread::EndFile() {
  if (kinds_ == 0) return;
  const bool alone = posted_ == posted_at_begin_;
  if (alone && written_ != posted_) {
    // The file's only block; the thread has nothing of this file.
    Update(posted_ % kBuffers);
    written_ = posted_;
  } else if (written_ != posted_) {
    Post();
  }
  WaitHashed(posted_);
  for (std::size_t i = 0; i < kDigestKinds; ++i) {
    const auto kind = static_cast<DigestKind>(i);
    if ((kinds_ & KindBit(kind)) == 0) continue;
    results_[i] = Digest{kind, {}};
    EVP_DigestFinal_ex(contexts_->contexts[i], results_[i].bytes.data(), nullptr);
  }
  kinds_ = 0;
}

void HashThread::Update(std::size_t slot) {
  const char* block = buffers_.get() + slot * block_size_;
  for (std::size_t i = 0; i < kDigestKinds; ++i) {
    if ((kinds_ & KindBit(static_cast<DigestKind>(i))) == 0) continue;
    EVP_DigestUpdate(contexts_->contexts[i], block, sizes_[slot]);
  }
}

void HashThread::Serve() {
  std::uint32_t done = hashed_.load(std::memory_order_relaxed);
  while (true) {
    std::uint32_t posted = posted_shared_.load();
    while (posted == done) {
      thread_sleeps_.store(true);
      if (posted_shared_.load() == done) posted_shared_.wait(done);
      thread_sleeps_.store(false);
      posted = posted_shared_.load();
    }
    for (; done != posted; ++done) {
      // The reader wrote the block, its size, the kinds and stopping_ before it posted.
      if (stopping_) return;
      Update(done % kBuffers);
      hashed_.store(done + 1);
      if (wake_at_.load() == done + 1) hashed_.notify_one();
    }
  }
}

}  // namespace tarvik
