#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace tarvik {

// A text file that a command writes line by line through the platform, like the list file, so
// that a read-only file is never replaced and only a regular file (or none yet) is written.
// After the first line that cannot be written no line is, so the file ends in whole lines.
class LineWriter {
 public:
  // Creates or replaces the file at `path` (drive form); nothing, and the error code in `code`,
  // when that fails.
  static std::unique_ptr<LineWriter> Create(Platform& platform, const std::string& path, int& code);
  ~LineWriter();
  LineWriter(const LineWriter&) = delete;
  LineWriter& operator=(const LineWriter&) = delete;

  // Writes `line`, its line end included, unless a line was lost before.
  void Write(std::string_view line);
  // kNoError while every line was written; otherwise the code of the first write that failed.
  int Lost() const { return lost_; }

 private:
  LineWriter(Platform& platform, FileHandle file) : platform_(platform), file_(file) {}

  Platform& platform_;
  FileHandle file_;
  int lost_ = kNoError;
};

}  // namespace tarvik
