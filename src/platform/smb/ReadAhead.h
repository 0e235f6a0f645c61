#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

#include "platform/smb/SmbShare.h"

namespace tarvik {

// Serves the sequential reads of one remote file from large reads of it, which libsmbclient
// sends as several requests in flight: one request and one answer per block would leave the
// network idle most of the time. Each read gives what SmbShare::Read would have given at
// that point: whatever a block needs beyond the bytes held is asked of the server then, so a
// short block and the 0 at the end always come from the server's latest answer. Where a large
// read fails, the span it covered is read again block by block, so that the failure falls on
// the block in which it lies. A size the share gave before the first read bounds the reads:
// libsmbclient asks again for whatever a read did not fill, a request that could only find the
// end, so the file is read up to that size, as a copy of it would be.
class ReadAhead {
 public:
  // The next `size` bytes of the file as SmbShare::Read gives them, and its errno value;
  // `waiting` runs while the server is asked.
  int Read(SmbShare& share, SmbFile* file, char* buffer, std::size_t size, std::size_t& done,
           const SmbShare::Waiting& waiting);
  // The file's size as the share gave it; bounds the reads when none was made yet.
  void KnowSize(std::int64_t size) {
    if (read_ == 0 && size >= 0) left_ = static_cast<std::uint64_t>(size);
  }
  // Frees what is held; the next read starts afresh.
  void Drop();

 private:
  // Completes a block whose first `held` bytes are in place from the `got` bytes just read
  // into bytes_, and holds the rest.
  void Serve(char* buffer, std::size_t size, std::size_t held, std::size_t got, std::size_t& done);
  // Asks the share for at most `size` bytes, fewer where the known size ends sooner.
  int ReadBounded(SmbShare& share, SmbFile* file, char* buffer, std::size_t size, std::size_t& got,
                  const SmbShare::Waiting& waiting);

  // Holds the buffer from the file's first read until it is closed, so that a block costs a
  // copy only.
  std::unique_ptr<char[]> bytes_;
  // The bytes read ahead and not served yet: [at_, at_ + held_) of bytes_.
  std::size_t at_ = 0;
  std::size_t held_ = 0;
  // Bytes after the latest failed large read that are read block by block.
  std::uint64_t block_by_block_ = 0;
  // The bytes the share gave since the file was opened, and those it held beyond them by the
  // size it gave before the first read, if it gave one.
  std::uint64_t read_ = 0;
  std::optional<std::uint64_t> left_;
};

}  // namespace tarvik
