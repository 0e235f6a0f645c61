#pragma once

#include <string>

// Helpers for the Windows-style directory paths that the scan compares and joins.
namespace tarvik {

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
