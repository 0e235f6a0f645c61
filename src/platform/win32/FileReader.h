#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/CallThread.h"

namespace tarvik {

struct ReadingHelpers;

// The reads of one file opened for reading with FILE_FLAG_OVERLAPPED, from its start on.
// Opened with FILE_FLAG_NO_BUFFERING as well, every read comes from the medium, not from the
// system's cache: it then goes through a buffer of the reader's own, aligned to pages, at
// offsets and lengths rounded to the volume's sector, and only the bytes asked for are copied
// out, so that any block size and any file size read as they would buffered. The medium is
// read 8 MiB at a time, as the cache would read ahead; where such a read fails, the blocks up
// to its end are read one by one, so that the failure is told for the block it is in.
//
// A read given a waiting function runs on a helper thread (Wine completes a read of a file on
// the calling thread inside ReadFile even for an overlapped handle, so the system's own
// waiting cannot be relied on) while the function runs on the caller's thread about every
// 40 ms. When it gives the read up, the read is cancelled where the system can (CancelIoEx);
// it goes on into the buffer of the reader's that it was given, never the caller's, and that
// buffer, the file's handle and the helper are let go only when it returns.
//
// The helper thread and the buffer are shared by the readers of one owner (ReadingHelpers), one
// after another: starting a thread and committing fresh megabytes each cost Wine more than
// the reading of a small file.
class FileReader {
 public:
  struct Slot;

  // `sector` is the alignment of offsets and lengths that the handle needs: the volume's
  // sector size when it was opened unbuffered, 1 otherwise. `helpers` outlive the reader.
  FileReader(void* handle, std::uint32_t sector, ReadingHelpers& helpers);
  // Closes the handle, or leaves that to a read given up that still uses it.
  ~FileReader();
  FileReader(const FileReader&) = delete;
  FileReader& operator=(const FileReader&) = delete;

  // The file's HANDLE.
  void* handle() const { return file_.get(); }
  // Reads up to `size` bytes at the reader's position: a Windows error code, with `done` 0 at
  // the end of the file; kErrOperationAborted when `waiting` gave the read up.
  int Read(void* buffer, std::size_t size, std::size_t& done, const std::function<bool()>* waiting);

 private:
  // Reads at least `size` bytes at the position into the slot's buffer, which then holds the
  // file from buffered_start_ on; a Windows error code.
  int Fill(std::size_t size, const std::function<bool()>* waiting);
  // Reads `length` bytes at `offset` into the slot's buffer, on the helper when waiting.
  bool ReadIntoSlot(std::int64_t offset, std::size_t length, const std::function<bool()>* waiting);
  // A handle that refuses unbuffered reads is opened again with the cache: still a read of
  // the file, and better than none. False when that fails too.
  bool FallBackToBuffered();

  std::shared_ptr<void> file_;
  std::uint32_t sector_;
  std::int64_t position_ = 0;
  // What the slot's buffer holds of the file: buffered_ bytes from buffered_start_ on.
  std::int64_t buffered_start_ = 0;
  std::size_t buffered_ = 0;
  // The slot's buffer holds the file up to its end.
  bool at_end_ = false;
  // The end of the latest read that failed.
  std::int64_t failed_until_ = 0;
  std::shared_ptr<Slot> slot_;
  ReadingHelpers& helpers_;
};

// The helper thread of reads that may wait, and the slot of the last reader closed, for the
// next one.
struct ReadingHelpers {
  std::unique_ptr<CallThread> thread;
  std::shared_ptr<FileReader::Slot> spare_slot;
};

}  // namespace tarvik
