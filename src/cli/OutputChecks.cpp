#include "cli/OutputChecks.h"

#include <filesystem>
#include <system_error>

#include "cli/FolderAccess.h"
#include "platform/ErrorCodes.h"
#include "util/Text.h"
#include "util/Utf8Path.h"

namespace tarvik {

namespace {

// The path with the links of its existing part resolved; as given when that fails.
std::filesystem::path Resolved(const std::filesystem::path& path) {
  std::error_code error;
  std::filesystem::path resolved = std::filesystem::weakly_canonical(path, error);
  return error ? path : resolved;
}

}  // namespace

bool SameFile(Platform& platform, const std::string& a, const std::string& b) {
  const std::string system_a = platform.ToSystemPath(a);
  const std::string system_b = platform.ToSystemPath(b);
  if (system_a.empty() || system_b.empty()) {
    if (!system_a.empty() || !system_b.empty()) return false;
    std::string upper_a = a;
    std::string upper_b = b;
    UpperCase1251(upper_a);
    UpperCase1251(upper_b);
    return upper_a == upper_b;
  }
  const std::filesystem::path path_a = Utf8Path(system_a);
  const std::filesystem::path path_b = Utf8Path(system_b);
  std::error_code error;
  if (std::filesystem::exists(path_a, error) && std::filesystem::exists(path_b, error)) {
    return std::filesystem::equivalent(path_a, path_b, error) && !error;
  }
  return Resolved(path_a) == Resolved(path_b);
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
  return MayCreateFileIn(Utf8Text(Utf8Path(system_path).parent_path()));
}

}  // namespace tarvik
