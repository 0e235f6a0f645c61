#pragma once

#include <string>
#include <string_view>

// Helpers for the Windows-style paths ("C:\WORK\SUB") that the lists and the scan take apart,
// compare and join. A backslash byte never occurs inside a multi-byte UTF-8 character, so byte
// searches split where character scans would.
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
bool HasWildcards(std::string_view name);

// True when a file name pattern names files only: it holds no "\\", "/" or ":", which would
// make it a path that can reach outside the directory searched.
bool IsNamePattern(std::string_view pattern);

// Whether a normalised path is upper-cased (case-insensitive volumes) or keeps its case
// (case-sensitive volumes, where upper-casing would name a directory that does not exist).
enum class PathCase { kUpper, kKeep };

// Trims, appends one backslash unless the text already ends with one (a forward slash does
// not count), and upper-cases by the fixed table unless told to keep case. Empty stays empty.
void NormalizeDirPath(std::string& path, PathCase path_case = PathCase::kUpper);

// Removes the "[" and "]" that mark a directory entry, trimming spaces outside them.
void StripBrackets(std::string& text);

// Splits a path into the parent up to and including the last backslash and the name after
// it. Paths of three characters or fewer (a drive root) give two empty texts.
void SplitLastComponent(const std::string& path, std::string& name, std::string& parent);

}  // namespace tarvik
