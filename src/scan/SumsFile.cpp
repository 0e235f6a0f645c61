#include "scan/SumsFile.h"

#include <utility>

#include "digest/ChecksumLines.h"
#include "scan/ChecksumNames.h"

namespace tarvik {

std::unique_ptr<SumsFile> SumsFile::Create(Platform& platform, const std::string& path, int& code) {
  std::unique_ptr<LineWriter> file = LineWriter::Create(platform, path, code);
  if (!file) return nullptr;
  VolumeInfo volume;
  const bool case_sensitive = platform.VolumeInformation(path.substr(0, 3), volume) != kNoError ||
                              (volume.flags & kVolumeCaseSensitiveSearch) != 0;
  return std::unique_ptr<SumsFile>(new SumsFile(platform, path.substr(0, path.rfind('\\') + 1),
                                                case_sensitive, std::move(file)));
}

void SumsFile::AddFile(const std::string& path, const Digest& digest) {
  if (file_->Lost() != kNoError) return;
  std::string name;
  if (!NameFrom(platform_, folder_, path, case_sensitive_, name)) {
    unnamed_ = kErrInvalidName;
    return;
  }
  // "-" alone is standard input to sha256sum -c, as it is to every coreutils program.
  if (name == "-") name = "./-";
  file_->Write(ChecksumLine(digest, name));
}

}  // namespace tarvik
