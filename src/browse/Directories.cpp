#include "browse/Directories.h"

#include "platform/IoError.h"

namespace tarvik {

void ChangeDirectory(Platform& platform, const std::string& path) {
  CheckIo(platform.SetCurrentDirectory(path));
}

bool DirectoryExists(Platform& platform, const std::string& path) {
  return platform.IsDirectory(path);
}

}  // namespace tarvik
