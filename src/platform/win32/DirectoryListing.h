#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace tarvik {

// Every entry of a directory, "." and ".." too where it has them, each with its name as the
// program shows it and its attributes (kAttr* bits).
struct DirectoryListing {
  std::vector<FoundEntry> entries;
  // The names of its subdirectories as stored, "." and ".." aside.
  std::vector<std::wstring> subdirectories;
  // The code of an open that failed, kNoError otherwise.
  int open_error = kNoError;
  // The code of a reading that failed part way, after the entries listed.
  int read_error = kNoError;
};

// The kAttr* bits the program is shown for a file's or directory's FILE_ATTRIBUTE_* bits.
std::uint32_t ShownAttributes(std::uint32_t system_attributes);

// Lists a directory given by its system path ("\\?\C:\WORK", "\\?\C:\").
DirectoryListing ListDirectory(const std::wstring& directory);

}  // namespace tarvik
