#include "support/FaultyPlatform.h"

#include "platform/ErrorCodes.h"

namespace tarvik {

namespace {

bool Applies(const std::string& rule_path, const std::string& path) {
  return rule_path.empty() || rule_path == path;
}

}  // namespace

void FaultyPlatform::Fail(PlatformCall call, const std::string& path, int nth, int code,
                          int times) {
  rules_.push_back(Rule{call, path, nth, times == 0 ? 0 : nth + times - 1, code, nullptr});
}

void FaultyPlatform::After(PlatformCall call, const std::string& path, int nth,
                           std::function<void()> action) {
  rules_.push_back(Rule{call, path, nth, nth, kNoError, std::move(action)});
}

int FaultyPlatform::Calls(PlatformCall call, const std::string& path) const {
  const auto found = calls_.find({call, path});
  return found != calls_.end() ? found->second : 0;
}

int FaultyPlatform::Enter(PlatformCall call, const std::string& path) {
  const int count = ++calls_[{call, path}];
  // Rules for any path count all paths together.
  const int any_count = path.empty() ? count : ++calls_[{call, kAnyPath}];
  for (const Rule& rule : rules_) {
    if (rule.action || rule.call != call || !Applies(rule.path, path)) continue;
    const int n = rule.path.empty() ? any_count : count;
    if (n >= rule.first && (rule.last == 0 || n <= rule.last)) return rule.code;
  }
  return kNoError;
}

void FaultyPlatform::Leave(PlatformCall call, const std::string& path) {
  const int count = Calls(call, path);
  const int any_count = Calls(call, kAnyPath);
  for (const Rule& rule : rules_) {
    if (!rule.action || rule.call != call || !Applies(rule.path, path)) continue;
    if ((rule.path.empty() ? any_count : count) == rule.first) rule.action();
  }
}

const std::string& FaultyPlatform::PathOf(FileHandle file) const {
  const auto found = open_paths_.find(file);
  return found != open_paths_.end() ? found->second : kAnyPath;
}

void FaultyPlatform::Remember(int code, const std::string& path, FileHandle file) {
  if (code == kNoError) open_paths_[file] = path;
}

int FaultyPlatform::SetCurrentDirectory(const std::string& path) {
  int code = Enter(PlatformCall::kSetCurrentDirectory, path);
  if (code == kNoError) code = inner_.SetCurrentDirectory(path);
  Leave(PlatformCall::kSetCurrentDirectory, path);
  return code;
}

std::uint32_t FaultyPlatform::FileAttributes(const std::string& path) {
  const std::uint32_t attributes = Enter(PlatformCall::kFileAttributes, path) == kNoError
                                       ? inner_.FileAttributes(path)
                                       : kInvalidAttributes;
  Leave(PlatformCall::kFileAttributes, path);
  return attributes;
}

std::vector<FoundEntry> FaultyPlatform::FindFiles(const std::string& pattern,
                                                  std::uint32_t attributes) {
  std::vector<FoundEntry> entries;
  if (Enter(PlatformCall::kFindFiles, pattern) == kNoError) {
    entries = inner_.FindFiles(pattern, attributes);
  }
  Leave(PlatformCall::kFindFiles, pattern);
  return entries;
}

bool FaultyPlatform::FileExists(const std::string& path) {
  const bool exists = Enter(PlatformCall::kFileExists, path) == kNoError && inner_.FileExists(path);
  Leave(PlatformCall::kFileExists, path);
  return exists;
}

int FaultyPlatform::OpenForReading(const std::string& path, FileHandle& file) {
  file = kNoFile;
  int code = Enter(PlatformCall::kOpenForReading, path);
  if (code == kNoError) {
    code = inner_.OpenForReading(path, file);
    Remember(code, path, file);
  }
  Leave(PlatformCall::kOpenForReading, path);
  return code;
}

int FaultyPlatform::SizeOfOpenFile(FileHandle file, std::int64_t& size) {
  const std::string path = PathOf(file);
  int code = Enter(PlatformCall::kSizeOfOpenFile, path);
  if (code == kNoError) code = inner_.SizeOfOpenFile(file, size);
  Leave(PlatformCall::kSizeOfOpenFile, path);
  return code;
}

int FaultyPlatform::Read(FileHandle file, void* buffer, std::size_t size, std::size_t& done) {
  return ReadWaiting(file, buffer, size, done, {});
}

int FaultyPlatform::ReadWaiting(FileHandle file, void* buffer, std::size_t size, std::size_t& done,
                                const std::function<bool()>& waiting) {
  const std::string path = PathOf(file);
  done = 0;
  int code = Enter(PlatformCall::kRead, path);
  if (code == kNoError) code = inner_.ReadWaiting(file, buffer, size, done, waiting);
  Leave(PlatformCall::kRead, path);
  return code;
}

void FaultyPlatform::Close(FileHandle file) {
  const std::string path = PathOf(file);
  Enter(PlatformCall::kClose, path);
  // A close always happens: its failure is of no interest to anyone.
  inner_.Close(file);
  open_paths_.erase(file);
  Leave(PlatformCall::kClose, path);
}

int FaultyPlatform::CreateTextFile(const std::string& path, FileHandle& file) {
  file = kNoFile;
  int code = Enter(PlatformCall::kCreateTextFile, path);
  if (code == kNoError) {
    code = inner_.CreateTextFile(path, file);
    Remember(code, path, file);
  }
  Leave(PlatformCall::kCreateTextFile, path);
  return code;
}

int FaultyPlatform::OpenForAppend(const std::string& path, FileHandle& file) {
  file = kNoFile;
  int code = Enter(PlatformCall::kOpenForAppend, path);
  if (code == kNoError) {
    code = inner_.OpenForAppend(path, file);
    Remember(code, path, file);
  }
  Leave(PlatformCall::kOpenForAppend, path);
  return code;
}

int FaultyPlatform::Write(FileHandle file, std::string_view bytes) {
  const std::string path = PathOf(file);
  int code = Enter(PlatformCall::kWrite, path);
  if (code == kNoError) code = inner_.Write(file, bytes);
  Leave(PlatformCall::kWrite, path);
  return code;
}

}  // namespace tarvik
