#include "browse/Directories.h"

#include "platform/IoError.h"

namespace tarvik {

void ChangeDirectory(Platform& platform, const std::string& path) {
  CheckIo(platform.SetCurrentDirectory(path));
}

bool DirectoryExists(Platform& platform, const std::string& path) {
  const std::uint32_t attributes = platform.FileAttributes(path);
  return attributes != kInvalidAttributes && (attributes & kAttrDirectory) != 0;
}

}  // namespace tarvik
