#include "cli/PathErrors.h"

#include <cctype>

#include "cli/CommandLine.h"
#include "platform/ErrorCodes.h"

namespace tarvik {

std::string StartDirectoryError(const std::string& path, int code, bool is_file) {
  if (code == kErrInvalidDrive && IsDrivePath(path)) {
    return "drive " + std::string(1, static_cast<char>(std::toupper(path[0]))) + ": does not exist";
  }
  if (code == kErrFileNotFound || code == kErrPathNotFound) {
    return is_file ? "a file, not a folder" : "no such folder";
  }
  return ErrorInWords(code);
}

std::string OutputFileError(const std::string& given, int code) {
  if (given.empty()) return "no file name given";
  if (code != kErrPathNotFound) return ErrorInWords(code);
  // Both separators, as paths in drive form may be given too.
  const std::size_t last = given.find_last_of("/\\");
  const std::string folder = last == std::string::npos ? "." : given.substr(0, last);
  return "folder '" + folder + "' does not exist";
}

}  // namespace tarvik
