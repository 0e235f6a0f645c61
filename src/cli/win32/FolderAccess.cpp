#include "cli/FolderAccess.h"

#include <windows.h>

#include "platform/ErrorCodes.h"
#include "platform/win32/Wide.h"

namespace tarvik {

int MayCreateFileIn(const std::string& system_folder) {
  // Opening the folder for the right to add a file is checked against its access list as
  // creating one would be.
  const HANDLE folder = CreateFileW(Widen(system_folder).c_str(), FILE_ADD_FILE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (folder == INVALID_HANDLE_VALUE) return static_cast<int>(GetLastError());
  CloseHandle(folder);
  return kNoError;
}

}  // namespace tarvik
