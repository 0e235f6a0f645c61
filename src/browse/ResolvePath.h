#pragma once

#include <string>

#include "platform/Platform.h"

namespace tarvik {

// A path text taken apart the way the lists apply it.
struct ResolvedPath {
  char drive = 0;         // the drive letter as written, 0 for a network path without one
  std::string directory;  // without the drive part when `drive` is set ("\WORK\SUB")
  std::string file;       // a final component that is a pattern or an existing file, or empty
};

// Resolves `text` ("C:\WORK\SUB", "SUB", "[SUB]" for a directory entry, "C:\WORK\*.TXT") against
// the current directory. It changes into the directories it names to find out what they are, and
// so fails with IoError when one of them cannot be entered, but it always leaves the current
// directory where it was.
ResolvedPath ResolvePath(Platform& platform, const std::string& text);

}  // namespace tarvik
