#pragma once

#include <cstdio>
#include <initializer_list>
#include <memory>
#include <string>

#include "scan/ReadSpeed.h"

namespace tarvik {

// The per-file report of a run: a CSV file (RFC 4180: CR LF line ends, a field holding a comma,
// a quote or a line break quoted, its quotes doubled), UTF-8, with a header line and one row per
// file offered to the check, in the order checked. Each row is flushed as its file's check
// ends, so that a run stopped early leaves the rows of the files checked so far.
class ReportFile {
 public:
  // Creates or replaces the file at the POSIX `path` and writes the header; nothing, and the
  // reason in `error`, when that fails.
  static std::unique_ptr<ReportFile> Create(const std::string& path, std::string& error);
  ~ReportFile();
  ReportFile(const ReportFile&) = delete;
  ReportFile& operator=(const ReportFile&) = delete;

  void AddFile(const FileSpeed& file);

 private:
  explicit ReportFile(std::FILE* file) : file_(file) {}
  void WriteRow(std::initializer_list<std::string> fields);

  std::FILE* file_;
};

}  // namespace tarvik
