#include "browse/Directories.h"

#include "platform/IoError.h"

namespace tarvik {

void ChangeDirectory(Platform& platform, const std::string& path) {
  CheckIo(platform.SetCurrentDirectory(path));
}

void EnterIfDirectory(Platform& platform, const std::string& path) {
  // Entering is tried first: it succeeds nearly always, and only a failure needs to know
  // whether there was a directory to enter.
  const int code = platform.SetCurrentDirectory(path);
  if (code != kNoError && platform.IsDirectory(path)) throw IoError(code);
}

}  // namespace tarvik
