#pragma once

#include <memory>
#include <string>

#include "digest/Digest.h"
#include "platform/Platform.h"
#include "scan/LineWriter.h"

namespace tarvik {

// A checksum file as sha256sum writes it, so that "sha256sum -c" run in the start directory
// verifies the files again: one line per file, its name relative to the start directory.
class SumsFile {
 public:
  // Creates or replaces the file at `path` (drive form); nothing, and the error code in `code`,
  // when that fails.
  static std::unique_ptr<SumsFile> Create(Platform& platform, const std::string& path, int& code);

  // The line of the file at `path`, below `start` (both in drive form, the start directory
  // ending in "\").
  void AddFile(const std::string& start, const std::string& path, const Digest& digest);

  // kNoError while every line was written; otherwise the code of the first write that failed,
  // after which no line is written, so that the file ends with whole lines.
  int LostLines() const { return file_->Lost(); }

 private:
  explicit SumsFile(std::unique_ptr<LineWriter> file) : file_(std::move(file)) {}

  std::unique_ptr<LineWriter> file_;
};

}  // namespace tarvik
