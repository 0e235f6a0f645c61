#include "scan/ExpectedSums.h"

#include <cstddef>

#include "platform/OwnedFile.h"
#include "scan/ChecksumNames.h"
#include "util/Text.h"

namespace tarvik {

namespace {

// The whole file at `path`, read through the platform.
int ReadWholeText(Platform& platform, const std::string& path, std::string& text) {
  OwnedFile file(platform);
  const int code = platform.OpenForReading(path, file.Reset());
  if (code != kNoError) return code;
  constexpr std::size_t kChunk = 65536;
  text.clear();
  for (std::size_t done = 1; done != 0;) {
    const std::size_t held = text.size();
    text.resize(held + kChunk);
    const int read_code = platform.Read(file.get(), text.data() + held, kChunk, done);
    text.resize(held + (read_code == kNoError ? done : 0));
    if (read_code != kNoError) return read_code;
  }
  return kNoError;
}

}  // namespace

std::string ChecksumFileIn(Platform& platform, const std::string& directory) {
  for (const char* name : kChecksumFileNames) {
    if (platform.FileExists(directory + name)) return directory + name;
  }
  return {};
}

int ExpectedSums::Load(Platform& platform, const std::string& path, bool case_sensitive) {
  std::string text;
  const int code = ReadWholeText(platform, path, text);
  if (code != kNoError) return code;
  ChecksumLines lines = ParseChecksumLines(text);
  path_ = path;
  folder_ = path.substr(0, path.rfind('\\') + 1);
  case_sensitive_ = case_sensitive;
  entries_ = std::move(lines.entries);
  malformed_ = lines.malformed;
  first_malformed_ = lines.first_malformed;
  index_.clear();
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    entries_[i].name = PlainName(entries_[i].name);
    index_.emplace(Key(entries_[i].name), i);
  }
  BeginCheck();
  return kNoError;
}

std::string ExpectedSums::Key(std::string name) const {
  if (!case_sensitive_) UpperCase1251(name);
  return name;
}

void ExpectedSums::BeginCheck() { met_.assign(entries_.size(), false); }

std::optional<Digest> ExpectedSums::Expected(const std::string& path) {
  std::string name;
  if (!NameBelow(folder_, path, case_sensitive_, name)) return std::nullopt;
  const auto found = index_.find(Key(std::move(name)));
  if (found == index_.end()) return std::nullopt;
  met_[found->second] = true;
  return entries_[found->second].digest;
}

std::vector<std::string> ExpectedSums::NotMet() const {
  std::vector<std::string> paths;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    // A name given twice is named once, by its first line.
    if (index_.at(Key(entries_[i].name)) == i && !met_[i])
      paths.push_back(PathBelow(folder_, entries_[i].name));
  }
  return paths;
}

}  // namespace tarvik
