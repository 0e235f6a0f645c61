#pragma once

#include <memory>
#include <string>

#include "digest/Digest.h"
#include "platform/Platform.h"

namespace tarvik {

// A checksum file as sha256sum writes it, so that "sha256sum -c" run in the start directory
// verifies the files again: one line per file, its name relative to the start directory. It
// is written through the platform like the list file, so that a read-only file is never
// replaced and only a regular file (or none yet) can be written.
class SumsFile {
 public:
  // Creates or replaces the file at `path` (drive form); nothing, and the error code in `code`,
  // when that fails.
  static std::unique_ptr<SumsFile> Create(Platform& platform, const std::string& path, int& code);
  ~SumsFile();
  SumsFile(const SumsFile&) = delete;
  SumsFile& operator=(const SumsFile&) = delete;

  // The line of the file at `path`, below `start` (both in drive form, the start directory
  // ending in "\").
  void AddFile(const std::string& start, const std::string& path, const Digest& digest);

  // kNoError while every line was written; otherwise the code of the first write that failed,
  // after which no line is written, so that the file ends with whole lines.
  int LostLines() const { return lost_; }

 private:
  SumsFile(Platform& platform, FileHandle file) : platform_(platform), file_(file) {}

  Platform& platform_;
  FileHandle file_;
  int lost_ = kNoError;
};

}  // namespace tarvik
