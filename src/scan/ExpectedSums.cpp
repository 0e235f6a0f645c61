#include "scan/ExpectedSums.h"

#include <cstddef>
#include <new>
#include <vector>

#include "platform/OwnedFile.h"
#include "scan/ChecksumNames.h"
#include "util/Text.h"

namespace tarvik {

std::vector<std::string> ChecksumFilesIn(Platform& platform, const std::string& directory) {
  std::vector<std::string> found;
  for (const char* name : kChecksumFileNames) {
    const std::string path = directory + name;
    // One that cannot be looked at is taken as there, so that its open says what is wrong.
    if (!platform.NoFileAt(path)) found.push_back(path);
  }
  return found;
}

int ExpectedSums::Load(Platform& platform, const std::string& path, bool case_sensitive) {
  *this = ExpectedSums();
  path_ = path;
  folder_ = path.substr(0, path.rfind('\\') + 1);
  case_sensitive_ = case_sensitive;
  // Opening a FIFO for reading would wait for a writer; a device may never end.
  if (platform.IsSpecialFile(path)) return load_error_ = kErrBadFileType;
  OwnedFile file(platform);
  load_error_ = platform.OpenForReading(path, file.Reset());
  if (load_error_ != kNoError) return load_error_;
  // A file of names larger than memory ends as a clear error, not as an abort.
  try {
    ChecksumLineReader reader([&](ChecksumEntry& entry) { Add(platform, entry); });
    std::vector<char> piece(65536);
    for (std::size_t done = 1; done != 0 && load_error_ == kNoError;) {
      load_error_ = platform.Read(file.get(), piece.data(), piece.size(), done);
      if (load_error_ == kNoError) reader.Add(std::string_view(piece.data(), done));
    }
    reader.End();
    malformed_ = reader.Malformed();
    first_malformed_ = reader.FirstMalformed();
    overlong_ = reader.Overlong();
    first_overlong_ = reader.FirstOverlong();
  } catch (const std::bad_alloc&) {
    load_error_ = kErrNotEnoughMemory;
  }
  if (load_error_ != kNoError) {
    files_ = {};
    index_ = {};
    unreachable_ = {};
    return load_error_;
  }
  BeginCheck();
  return kNoError;
}

void ExpectedSums::Add(Platform& platform, ChecksumEntry& entry) {
  const std::string path = ResolveName(platform, folder_, entry.name);
  if (path.empty()) {
    unreachable_.push_back(WrittenName(folder_, entry.name));
    return;
  }
  const auto [found, added] = index_.try_emplace(Key(path), files_.size());
  if (added) files_.push_back({path, {}});
  files_[found->second].digests.push_back(entry.digest);
}

std::string ExpectedSums::Key(std::string path) const {
  if (!case_sensitive_) UpperCase1251(path);
  return path;
}

void ExpectedSums::BeginCheck() {
  met_.assign(files_.size(), false);
  met_count_ = 0;
}

const std::vector<Digest>* ExpectedSums::Expected(const std::string& path) {
  const auto found = index_.find(Key(path));
  if (found == index_.end()) return nullptr;
  if (!met_[found->second]) ++met_count_;
  met_[found->second] = true;
  return &files_[found->second].digests;
}

std::vector<std::string> ExpectedSums::NotMet() const {
  std::vector<std::string> paths;
  for (std::size_t i = 0; i < files_.size(); ++i) {
    if (!met_[i]) paths.push_back(files_[i].path);
  }
  return paths;
}

}  // namespace tarvik
