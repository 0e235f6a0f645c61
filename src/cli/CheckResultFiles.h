#pragma once

#include <memory>
#include <optional>
#include <string>

#include "cli/ReportFile.h"
#include "platform/Platform.h"
#include "scan/ReadSpeed.h"
#include "scan/SumsFile.h"

namespace tarvik {

// The report and the checksum file of a run. Both are made when the check has begun: at the end
// of its first file, or at its end when it met none. A run that ends before (a list file that
// cannot be made, a usage error) leaves existing files as they were.
class CheckResultFiles {
 public:
  // The paths in drive form; nothing for a file not asked for.
  CheckResultFiles(Platform& platform, std::optional<std::string> report,
                   std::optional<std::string> sums);

  // The file's row and, when it was read whole, its line; makes the files first.
  void AddFile(const FileSpeed& file);
  // Makes the files asked for, once.
  void Make();

  // kNoError while the file holds everything it should; otherwise the code of the first row or
  // line lost, or why the file could not be made.
  int ReportLost() const { return report_ ? report_->LostRows() : report_code_; }
  int SumsLost() const { return sums_ ? sums_->LostLines() : sums_code_; }

 private:
  Platform& platform_;
  std::optional<std::string> report_path_;
  std::optional<std::string> sums_path_;
  bool made_ = false;
  std::unique_ptr<ReportFile> report_;
  std::unique_ptr<SumsFile> sums_;
  int report_code_ = kNoError;
  int sums_code_ = kNoError;
};

}  // namespace tarvik
