#include "cli/OutputChecks.h"

#include <filesystem>
#include <system_error>

#include "platform/ErrorCodes.h"
#include "util/Text.h"

namespace tarvik {

namespace {

// The path with the links of its existing part resolved; as given when that fails.
std::filesystem::path Resolved(const std::filesystem::path& path) {
  std::error_code error;
  std::filesystem::path resolved = std::filesystem::weakly_canonical(path, error);
  return error ? path : resolved;
}

}  // namespace

bool SameFile(PosixPlatform& local, const std::string& a, const std::string& b) {
  const std::string posix_a = local.PosixPathFor(a);
  const std::string posix_b = local.PosixPathFor(b);
  if (posix_a.empty() || posix_b.empty()) {
    if (!posix_a.empty() || !posix_b.empty()) return false;
    std::string upper_a = a;
    std::string upper_b = b;
    UpperCase1251(upper_a);
    UpperCase1251(upper_b);
    return upper_a == upper_b;
  }
  std::error_code error;
  if (std::filesystem::exists(posix_a, error) && std::filesystem::exists(posix_b, error)) {
    return std::filesystem::equivalent(posix_a, posix_b, error) && !error;
  }
  return Resolved(posix_a) == Resolved(posix_b);
}

int ProbeOutput(Platform& platform, const std::string& path) {
  FileHandle file = kNoFile;
  // Appending to an existing file proves it can be replaced without touching its content.
  int code = platform.OpenForAppend(path, file);
  if (code == kErrFileNotFound) code = platform.CreateTextFile(path, file);
  if (code == kNoError) platform.Close(file);
  return code;
}

}  // namespace tarvik
