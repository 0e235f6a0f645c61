#include "scan/SumsFile.h"

#include "digest/ChecksumLines.h"
#include "scan/ChecksumNames.h"

namespace tarvik {

std::unique_ptr<SumsFile> SumsFile::Create(Platform& platform, const std::string& path, int& code) {
  FileHandle file = kNoFile;
  code = platform.CreateTextFile(path, file);
  if (code != kNoError) return nullptr;
  return std::unique_ptr<SumsFile>(new SumsFile(platform, file));
}

SumsFile::~SumsFile() { platform_.Close(file_); }

void SumsFile::AddFile(const std::string& start, const std::string& path, const Digest& digest) {
  std::string name;
  // The start directory holds every file its check reads, as names that are on disk.
  if (lost_ != kNoError || !NameBelow(start, path, true, name)) return;
  lost_ = platform_.Write(file_, ChecksumLine(digest, name));
}

}  // namespace tarvik
