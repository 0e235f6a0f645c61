#include "cli/FolderAccess.h"

#include <unistd.h>

#include <cerrno>

#include "platform/ErrorCodes.h"
#include "platform/posix/ErrnoCodes.h"

namespace tarvik {

int MayCreateFileIn(const std::string& system_folder) {
  return access(system_folder.c_str(), W_OK) == 0 ? kNoError : ErrnoToCode(errno, ErrnoUse::kFile);
}

}  // namespace tarvik
