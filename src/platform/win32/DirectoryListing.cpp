#include "platform/win32/DirectoryListing.h"

#include <windows.h>

#include "platform/WindowsName.h"
#include "platform/win32/Wide.h"

namespace tarvik {

namespace {

FoundEntry EntryOf(const WIN32_FIND_DATAW& found) {
  return FoundEntry{
      ToWindowsName(Narrow(found.cFileName)), ShownAttributes(found.dwFileAttributes),
      static_cast<std::int64_t>((std::uint64_t{found.nFileSizeHigh} << 32) | found.nFileSizeLow)};
}

}  // namespace

std::uint32_t ShownAttributes(std::uint32_t system_attributes) {
  constexpr std::uint32_t kShown =
      kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrDirectory | kAttrArchive;
  std::uint32_t shown = system_attributes & kShown;
  // A junction, a link to a directory or a volume mounted in a folder leads elsewhere: marked
  // system, as the Linux build marks a link to a directory and a mount point, so that a walk
  // of the tree does not go into it (a loop, or files counted twice).
  if ((shown & kAttrDirectory) != 0 && (system_attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
    shown |= kAttrSystem;
  }
  return shown;
}

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
    const std::wstring_view name = found.cFileName;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && name != L"." && name != L"..") {
      listing.subdirectories.emplace_back(name);
    }
  } while (FindNextFileW(search, &found));
  const DWORD error = GetLastError();
  if (error != ERROR_NO_MORE_FILES) listing.read_error = static_cast<int>(error);
  FindClose(search);
  return listing;
}

}  // namespace tarvik
