#include "platform/win32/DirectoryListing.h"

#include <windows.h>

#include "platform/WindowsName.h"
#include "platform/win32/Wide.h"

namespace tarvik {

namespace {

constexpr DWORD kListedAttributes =
    kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrDirectory | kAttrArchive;

FoundEntry EntryOf(const WIN32_FIND_DATAW& found) {
  return FoundEntry{
      ToWindowsName(Narrow(found.cFileName)), found.dwFileAttributes & kListedAttributes,
      static_cast<std::int64_t>((std::uint64_t{found.nFileSizeHigh} << 32) | found.nFileSizeLow)};
}

}  // namespace

DirectoryListing ListDirectory(const std::wstring& directory) {
  DirectoryListing listing;
  std::wstring pattern = directory;
  if (pattern.back() != L'\\') pattern += L'\\';
  pattern += L'*';
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found,
                                         FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (search == INVALID_HANDLE_VALUE) {
    // A root without entries has not even "." to find.
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND) listing.open_error = static_cast<int>(error);
    return listing;
  }
  do {
    listing.entries.push_back(EntryOf(found));
  } while (FindNextFileW(search, &found));
  const DWORD error = GetLastError();
  if (error != ERROR_NO_MORE_FILES) listing.read_error = static_cast<int>(error);
  FindClose(search);
  return listing;
}

}  // namespace tarvik
