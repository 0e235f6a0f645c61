#include "platform/win32/FileReader.h"

#include <windows.h>

#include <cstring>
#include <utility>

#include "platform/ErrorCodes.h"
#include "platform/win32/NoCriticalErrorBox.h"

namespace tarvik {

namespace {

// What one read of the medium asks for at least: a check reads blocks of a few KiB, which
// unbuffered, without the system's read-ahead, would each cost a request of the drive. Each read
// is also handed to the helper thread, which costs Wine about 0.3 ms: small beside the reading
// of 8 MiB, not beside that of one.
constexpr std::size_t kChunk = std::size_t{1} << 23;

std::size_t RoundUp(std::size_t value, std::size_t unit) {
  return (value + unit - 1) / unit * unit;
}

std::shared_ptr<void> OwnHandle(HANDLE handle) {
  return std::shared_ptr<void>(handle, [](HANDLE owned) { CloseHandle(owned); });
}

}  // namespace

// One read: its place in the file, a page-aligned buffer (which every sector size divides)
// and what came of it. The file's handle is shared, so that a read given up keeps it open.
struct FileReader::Slot {
  std::shared_ptr<void> file;
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  OVERLAPPED overlapped{};
  char* bytes = nullptr;
  std::size_t capacity = 0;
  std::int64_t offset = 0;
  DWORD length = 0;
  DWORD got = 0;
  DWORD error = ERROR_SUCCESS;

  Slot() = default;
  ~Slot() {
    if (bytes != nullptr) VirtualFree(bytes, 0, MEM_RELEASE);
    if (event != nullptr) CloseHandle(event);
  }
  Slot(const Slot&) = delete;
  Slot& operator=(const Slot&) = delete;

  bool Reserve(std::size_t size) {
    if (size <= capacity) return true;
    if (bytes != nullptr) VirtualFree(bytes, 0, MEM_RELEASE);
    bytes =
        static_cast<char*>(VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    capacity = bytes != nullptr ? size : 0;
    return bytes != nullptr;
  }

  void Read() {
    const NoCriticalErrorBox no_box;
    const HANDLE handle = static_cast<HANDLE>(file.get());
    overlapped = OVERLAPPED{};
    overlapped.Offset = static_cast<DWORD>(offset);
    overlapped.OffsetHigh = static_cast<DWORD>(static_cast<std::uint64_t>(offset) >> 32);
    overlapped.hEvent = event;
    got = 0;
    error = ERROR_SUCCESS;
    if (!ReadFile(handle, bytes, length, nullptr, &overlapped)) error = GetLastError();
    if (error == ERROR_SUCCESS || error == ERROR_IO_PENDING) {
      error = GetOverlappedResult(handle, &overlapped, &got, TRUE) ? ERROR_SUCCESS : GetLastError();
    }
    if (error == ERROR_HANDLE_EOF) {
      error = ERROR_SUCCESS;
      got = 0;
    }
  }
};

FileReader::FileReader(void* handle, std::uint32_t sector, ReadingHelpers& helpers)
    : file_(OwnHandle(handle)), sector_(sector == 0 ? 1 : sector), helpers_(helpers) {}

FileReader::~FileReader() {
  // Reads given up and still waiting in a driver end now, where the system can end them.
  CancelIoEx(handle(), nullptr);
  if (slot_) {
    slot_->file.reset();
    helpers_.spare_slot = std::move(slot_);
  }
}

bool FileReader::ReadIntoSlot(std::int64_t offset, std::size_t length,
                              const std::function<bool()>* waiting) {
  Slot& slot = *slot_;
  slot.offset = offset;
  slot.length = static_cast<DWORD>(length);
  if (waiting == nullptr || !*waiting) {
    slot.Read();
    return true;
  }
  std::unique_ptr<CallThread>& helper = helpers_.thread;
  if (!helper) helper = std::make_unique<CallThread>();
  // The call holds the slot by a plain pointer, which std::function keeps without allocating;
  // the slot stays the reader's until the read is given up.
  if (helper->Run([at = &slot] { at->Read(); }, *waiting)) return true;
  CancelIoEx(handle(), &slot.overlapped);
  // The helper goes on alone with the read, then lets the slot (its buffer and its share of the
  // handle) go; the next read gets new ones.
  helper->Post([given_up = std::move(slot_)] {});
  buffered_ = 0;
  helper.reset();
  return false;
}

bool FileReader::FallBackToBuffered() {
  if (sector_ == 1) return false;
  const HANDLE reopened =
      ReOpenFile(handle(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                 FILE_FLAG_OVERLAPPED | FILE_FLAG_SEQUENTIAL_SCAN);
  if (reopened == INVALID_HANDLE_VALUE) return false;
  file_ = OwnHandle(reopened);
  if (slot_) slot_->file = file_;
  sector_ = 1;
  return true;
}

int FileReader::Fill(std::size_t size, const std::function<bool()>* waiting) {
  const std::int64_t start = position_ / sector_ * sector_;
  const std::size_t length = RoundUp(static_cast<std::size_t>(position_ - start) + size, sector_);
  buffered_ = 0;
  if (!slot_) {
    slot_ = helpers_.spare_slot ? std::move(helpers_.spare_slot) : std::make_shared<Slot>();
    slot_->file = file_;
  }
  if (!slot_->Reserve(length)) return kErrNotEnoughMemory;
  if (!ReadIntoSlot(start, length, waiting)) return kErrOperationAborted;
  if (slot_->error == ERROR_INVALID_PARAMETER && FallBackToBuffered()) return Fill(size, waiting);
  if (slot_->error != ERROR_SUCCESS) {
    failed_until_ = start + static_cast<std::int64_t>(length);
    return static_cast<int>(slot_->error);
  }
  buffered_start_ = start;
  buffered_ = slot_->got;
  // Less than asked: at the end of the file, unless the medium gave out part way (a read of
  // the rest tells that). The size, asked of the open file, tells which, and spares the read
  // that would find nothing.
  LARGE_INTEGER file_size{};
  at_end_ = slot_->got < length && GetFileSizeEx(handle(), &file_size) &&
            start + static_cast<std::int64_t>(slot_->got) >= file_size.QuadPart;
  return kNoError;
}

int FileReader::Read(void* buffer, std::size_t size, std::size_t& done,
                     const std::function<bool()>* waiting) {
  done = 0;
  auto* out = static_cast<char*>(buffer);
  while (done < size) {
    const std::int64_t offset = position_ - buffered_start_;
    if (offset >= 0 && offset < static_cast<std::int64_t>(buffered_)) {
      const std::size_t copied =
          std::min(buffered_ - static_cast<std::size_t>(offset), size - done);
      std::memcpy(out + done, slot_->bytes + offset, copied);
      done += copied;
      position_ += static_cast<std::int64_t>(copied);
      continue;
    }
    if (at_end_) break;
    // Ahead of a read that failed, a chunk would fail again: only what is asked is read
    // there, so that the failure is told for that block and the blocks before it still read.
    const bool careful = position_ < failed_until_;
    const int code = Fill(careful ? size - done : std::max(kChunk, size - done), waiting);
    if (code == kNoError) {
      // Nothing read at the position: the end of the file.
      if (position_ >= buffered_start_ + static_cast<std::int64_t>(buffered_)) break;
    } else if (careful || code == kErrOperationAborted || code == kErrNotEnoughMemory) {
      return code;
    }
  }
  return kNoError;
}

}  // namespace tarvik
