#pragma once

#include <initializer_list>
#include <memory>
#include <string>

#include "platform/Platform.h"
#include "scan/LineWriter.h"
#include "scan/ReadSpeed.h"

namespace tarvik {

// The per-file report of a run: a CSV file (RFC 4180: CR LF line ends, a field holding a comma,
// a quote or a line break quoted, its quotes doubled), well-formed UTF-8, with a header line and
// one row per file offered to the check, in the order checked. Each row is written as its
// file's check ends, so that a run stopped early leaves the rows of the files checked so far.
class ReportFile {
 public:
  // Creates or replaces the file at `path` (drive form) and writes the header; nothing, and
  // the error code in `code`, when that fails.
  static std::unique_ptr<ReportFile> Create(Platform& platform, const std::string& path, int& code);

  void AddFile(const FileSpeed& file);

  // kNoError while every row was written; otherwise the code of the first write that failed,
  // after which no row is written, so that the file ends with whole rows as far as it could.
  int LostRows() const { return file_->Lost(); }

 private:
  explicit ReportFile(std::unique_ptr<LineWriter> file) : file_(std::move(file)) {}
  void WriteRow(std::initializer_list<std::string> fields);

  std::unique_ptr<LineWriter> file_;
};

}  // namespace tarvik
