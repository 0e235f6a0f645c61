#include "platform/smb/ReadAhead.h"

#include <algorithm>
#include <cstring>

namespace tarvik {

namespace {

// One large read: milliseconds on a fast network, so that Esc, seen between blocks, keeps its
// latency; enough requests in flight to keep a LAN busy.
constexpr std::size_t kChunk = 1 << 20;

}  // namespace

int ReadAhead::Read(SmbShare& share, SmbFile* file, char* buffer, std::size_t size,
                    std::size_t& done, const SmbShare::Waiting& waiting) {
  done = 0;
  if (held_ >= size) {
    std::memcpy(buffer, bytes_.get() + at_, size);
    at_ += size;
    held_ -= size;
    done = size;
    return 0;
  }
  // The bytes held begin the block; the server gives the rest.
  const std::size_t held = held_;
  if (held > 0) std::memcpy(buffer, bytes_.get() + at_, held);
  at_ = held_ = 0;
  std::size_t got = 0;
  if (block_by_block_ == 0 && size < kChunk) {
    if (bytes_ == nullptr) bytes_ = std::make_unique_for_overwrite<char[]>(kChunk);
    const int error_number = ReadBounded(share, file, bytes_.get(), kChunk - held, got, waiting);
    if (error_number == 0) {
      Serve(buffer, size, held, got, done);
      return 0;
    }
    // A failed read leaves the file where it was. The failure lies somewhere in the span:
    // read block by block, it falls on the block that holds it.
    block_by_block_ = kChunk - held;
  }
  const int error_number = ReadBounded(share, file, buffer + held, size - held, got, waiting);
  block_by_block_ -= std::min<std::uint64_t>(block_by_block_, got);
  done = held + got;
  return error_number;
}

int ReadAhead::ReadBounded(SmbShare& share, SmbFile* file, char* buffer, std::size_t size,
                           std::size_t& got, const SmbShare::Waiting& waiting) {
  got = 0;
  const std::size_t asked =
      left_ ? static_cast<std::size_t>(std::min<std::uint64_t>(size, *left_)) : size;
  if (asked == 0) return 0;
  const int error_number = share.Read(file, buffer, asked, got, waiting);
  read_ += got;
  // A read the share did not fill met the end; so would any after it.
  if (left_) *left_ = error_number == 0 && got < asked ? 0 : *left_ - got;
  return error_number;
}

void ReadAhead::Serve(char* buffer, std::size_t size, std::size_t held, std::size_t got,
                      std::size_t& done) {
  const std::size_t served = std::min(size - held, got);
  std::memcpy(buffer + held, bytes_.get(), served);
  at_ = served;
  held_ = got - served;
  done = held + served;
}

void ReadAhead::Drop() {
  bytes_.reset();
  at_ = held_ = 0;
  block_by_block_ = 0;
  read_ = 0;
  left_.reset();
}

}  // namespace tarvik
