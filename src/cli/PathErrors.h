#pragma once

#include <string>

// The command line's errors about the places it was given, in plain words that name the place.
namespace tarvik {

// Why the directory to check, `path` as given, could not be made current (`code`); `is_file`
// when a file is there instead. "drive Q: does not exist", "no such folder".
std::string StartDirectoryError(const std::string& path, int code, bool is_file);

// Why the output file `given` could not be made (`code`): the folder that is missing is named.
std::string OutputFileError(const std::string& given, int code);

}  // namespace tarvik
