#include <windows.h>
// After windows.h, which they need.
#include <knownfolders.h>
#include <shlobj.h>

#include <cwchar>
#include <filesystem>

#include "history/HistoryPath.h"
#include "util/Utf8Path.h"

namespace tarvik {

std::string DefaultHistoryPath() {
  std::filesystem::path folder;
  PWSTR known = nullptr;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_DEFAULT, nullptr, &known))) {
    folder = known;
  }
  CoTaskMemFree(known);
  if (folder.empty()) {
    const wchar_t* variable = _wgetenv(L"LOCALAPPDATA");
    if (variable != nullptr) folder = variable;
  }
  if (folder.empty()) return "";
  return Utf8Text(folder / L"tarvik" / L"history.sqlite3");
}

}  // namespace tarvik
