#pragma once

#include <memory>
#include <string>

#include "digest/Digest.h"
#include "platform/Platform.h"
#include "scan/LineWriter.h"

namespace tarvik {

// A checksum file as sha256sum writes it, so that "sha256sum -c" run in the folder the file is
// saved in verifies the files again: one line per file, its name relative to that folder
// ("../" where the file lies elsewhere on the drive, the system's absolute path on another).
class SumsFile {
 public:
  // Creates or replaces the file at `path` (drive form); nothing, and the error code in `code`,
  // when that fails.
  static std::unique_ptr<SumsFile> Create(Platform& platform, const std::string& path, int& code);

  // The line of the file at `path` (drive form).
  void AddFile(const std::string& path, const Digest& digest);

  // kNoError while every line was written; otherwise the code of the first write that failed,
  // after which no line is written, so that the file ends with whole lines; kErrInvalidName
  // when no name reaches a file from the folder (one on a share), whose line is left out.
  int LostLines() const { return file_->Lost() != kNoError ? file_->Lost() : unnamed_; }

 private:
  SumsFile(Platform& platform, std::string folder, bool case_sensitive,
           std::unique_ptr<LineWriter> file)
      : platform_(platform),
        folder_(std::move(folder)),
        case_sensitive_(case_sensitive),
        file_(std::move(file)) {}

  Platform& platform_;
  // The folder the file is saved in, ending in "\".
  std::string folder_;
  // Whether the folder's volume tells names apart by case: the lists show the folders of one
  // that does not upper-cased, whatever case the file's own path was given in.
  bool case_sensitive_;
  std::unique_ptr<LineWriter> file_;
  int unnamed_ = kNoError;
};

}  // namespace tarvik
