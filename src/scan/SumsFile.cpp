#include "scan/SumsFile.h"

#include <utility>

#include "digest/ChecksumLines.h"
#include "scan/ChecksumNames.h"

namespace tarvik {

std::unique_ptr<SumsFile> SumsFile::Create(Platform& platform, const std::string& path, int& code) {
  std::unique_ptr<LineWriter> file = LineWriter::Create(platform, path, code);
  if (!file) return nullptr;
  return std::unique_ptr<SumsFile>(new SumsFile(std::move(file)));
}

void SumsFile::AddFile(const std::string& start, const std::string& path, const Digest& digest) {
  std::string name;
  // The start directory holds every file its check reads, as names that are on disk.
  if (file_->Lost() != kNoError || !NameBelow(start, path, true, name)) return;
  file_->Write(ChecksumLine(digest, name));
}

}  // namespace tarvik
