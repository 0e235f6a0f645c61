#include "platform/ErrorCodes.h"

namespace tarvik {

std::string IoErrorText(int code) {
  switch (code) {
    case kErrFileNotFound:
      return "File not found";
    case kErrPathNotFound:
      return "Invalid filename";
    case kErrTooManyOpenFiles:
      return "Too many open files";
    case kErrAccessDenied:
      return "File access denied";
    case kErrReadBeyondEof:
      return "Read beyond end of file";
    case kErrDiskFull:
      return "Disk full";
    case kErrInvalidNumericInput:
      return "Invalid numeric input";
    default:
      return "I/O error " + std::to_string(code);
  }
}

}  // namespace tarvik
