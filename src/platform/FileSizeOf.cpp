#include "platform/FileSizeOf.h"

#include "platform/IoError.h"

namespace tarvik {

std::int64_t FileSizeOf(Platform& platform, const std::string& path) {
  FileHandle file = kNoFile;
  if (platform.OpenForReading(path, file) != kNoError) return -1;
  std::int64_t size = -1;
  const int code = platform.SizeOfOpenFile(file, size);
  platform.Close(file);
  CheckIo(code);
  return size;
}

}  // namespace tarvik
