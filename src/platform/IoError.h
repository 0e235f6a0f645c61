#pragma once

#include <stdexcept>
#include <string>

#include "platform/ErrorCodes.h"

namespace tarvik {

// A failure that ends the running command; the handler runner shows its text in the general
// error box followed by a full stop.
class IoError : public std::runtime_error {
 public:
  explicit IoError(int code) : std::runtime_error(IoErrorText(code)), code_(code) {}
  IoError(int code, const std::string& text) : std::runtime_error(text), code_(code) {}
  int code() const { return code_; }

 private:
  int code_;
};

// Throws IoError for any code but kNoError.
inline void CheckIo(int code) {
  if (code != kNoError) throw IoError(code);
}

// Throws IoError for a code that tells of the system rather than of the file or directory
// asked about (too many open files, not enough memory): no file could be opened or listed
// meanwhile, so the command ends instead of reporting each of them as a problem.
inline void CheckSystemIo(int code) {
  if (code == kErrTooManyOpenFiles || code == kErrNotEnoughMemory) throw IoError(code);
}

}  // namespace tarvik
