#include "platform/FileSizeOf.h"

#include "platform/IoError.h"
#include "platform/OwnedFile.h"

namespace tarvik {

std::int64_t FileSizeOf(Platform& platform, const std::string& path) {
  OwnedFile file(platform);
  if (platform.OpenForReading(path, file.Reset()) != kNoError) return -1;
  std::int64_t size = -1;
  CheckIo(platform.SizeOfOpenFile(file.get(), size));
  return size;
}

}  // namespace tarvik
