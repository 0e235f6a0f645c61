#pragma once

#include <utility>

#include "platform/Platform.h"

namespace tarvik {

// Owns one open file of a Platform and closes it when it goes out of scope, so that no path
// out of a function (an early return, an IoError) leaves a file open. Move-only.
//
//   OwnedFile file(platform);
//   if (platform.OpenForReading(path, file.Reset()) != kNoError) return;
class OwnedFile {
 public:
  explicit OwnedFile(Platform& platform) : platform_(&platform) {}
  ~OwnedFile() { Close(); }

  OwnedFile(OwnedFile&& other) noexcept
      : platform_(other.platform_), handle_(std::exchange(other.handle_, kNoFile)) {}
  OwnedFile& operator=(OwnedFile&& other) noexcept {
    if (this != &other) {
      Close();
      platform_ = other.platform_;
      handle_ = std::exchange(other.handle_, kNoFile);
    }
    return *this;
  }
  OwnedFile(const OwnedFile&) = delete;
  OwnedFile& operator=(const OwnedFile&) = delete;

  // Closes the file held, if any, and hands out the slot that an open call fills in.
  FileHandle& Reset() {
    Close();
    return handle_;
  }

  FileHandle get() const { return handle_; }
  bool is_open() const { return handle_ != kNoFile; }

  // Closes the file now; a failure of the close is of no interest, as for Platform::Close.
  void Close() {
    if (handle_ != kNoFile) platform_->Close(std::exchange(handle_, kNoFile));
  }

 private:
  Platform* platform_;
  FileHandle handle_ = kNoFile;
};

}  // namespace tarvik
