#include "cli/OutputChecks.h"

#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "platform/ErrorCodes.h"
#include "platform/posix/ErrnoCodes.h"
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
  const int code = platform.OpenForAppend(path, file);
  if (code == kNoError) platform.Close(file);
  if (code != kErrFileNotFound) return code;
  // Not there yet, in a folder that exists: whether the folder takes a new file. A share's
  // folder cannot be asked without a file made; making the file then tells.
  const std::string system_path = platform.ToSystemPath(path);
  if (system_path.empty()) return kNoError;
  const std::string folder = std::filesystem::path(system_path).parent_path().string();
  return access(folder.c_str(), W_OK) == 0 ? kNoError : ErrnoToCode(errno, ErrnoUse::kFile);
}

}  // namespace tarvik
