#pragma once

#include <string>
#include <string_view>

// Pieces of Windows-style paths as the lists take them apart. A backslash byte never occurs
// inside a multi-byte UTF-8 character, so byte searches split where character scans would.
namespace tarvik {

// The upper-case form of a drive letter; any other character stays as it is.
char UpCaseDrive(char letter);

// "C:" for "C:\WORK", "\\server\share" for "\\server\share\dir", empty for anything else.
std::string DrivePart(std::string_view path);

// The text after the last backslash or drive colon ("B.TXT" for "C:\A\B.TXT").
std::string FileNamePart(std::string_view path);

// `directory` and `name` joined by one backslash (none added when `directory` ends with one).
std::string JoinPath(std::string_view directory, std::string_view name);

// True when a name holds "*" or "?".
bool HasWildcard(std::string_view name);

}  // namespace tarvik
