#include "cli/CheckResultFiles.h"

#include <utility>

namespace tarvik {

CheckResultFiles::CheckResultFiles(Platform& platform, std::optional<std::string> report,
                                   std::optional<std::string> sums)
    : platform_(platform), report_path_(std::move(report)), sums_path_(std::move(sums)) {}

void CheckResultFiles::Make() {
  if (made_) return;
  made_ = true;
  if (report_path_) report_ = ReportFile::Create(platform_, *report_path_, report_code_);
  if (sums_path_) sums_ = SumsFile::Create(platform_, *sums_path_, sums_code_);
}

void CheckResultFiles::AddFile(const FileSpeed& file) {
  Make();
  if (report_) report_->AddFile(file);
  if (sums_ && file.fingerprint) sums_->AddFile(file.path, *file.fingerprint);
}

}  // namespace tarvik
