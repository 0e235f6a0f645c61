#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/MappedPrefix.h"

namespace tarvik {

// A full path on a drive: the letter and the names below its root, in the program's form, held
// as one text of names joined by backslashes ("WORK\SUB", empty for the root), so that a copy
// costs no allocation per name however deep the path. Never holds "." or ".." or empty names.
struct WindowsPath {
  char drive = 'C';
  std::string text;

  bool operator==(const WindowsPath&) const = default;

  bool IsRoot() const { return text.empty(); }
  void Append(std::string_view name);
  // The root stays the root.
  void RemoveLast();
  // The text of the names but the last, and the last name; both empty for the root.
  std::string_view ParentNames() const;
  std::string_view LastName() const;
  WindowsPath Parent() const { return WindowsPath{drive, std::string(ParentNames())}; }
  // The names one by one, as a share takes them.
  std::vector<std::string> NameList() const;
};

// "C:\" for a root, "C:\WORK\SUB" otherwise.
std::string FormatWindowsPath(const WindowsPath& path);
// The same into `text`, whose room is used again.
void FormatWindowsPath(const WindowsPath& path, std::string& text);

// Splits a path text at its last separator into the directory part ("C:\WORK\", "C:", or
// empty for a bare name) and the last name.
void SplitDirectoryAndName(std::string_view path, std::string_view& directory,
                           std::string_view& name);

// The program's current directory, kept apart from the process's own (which is never
// changed), with one remembered directory per drive as Windows keeps them.
class CurrentDirectories {
 public:
  explicit CurrentDirectories(WindowsPath start);

  // Makes a path full: "X:" alone is the directory remembered for X (its root at first),
  // "X:name" is relative to it, "\name" is on the current drive, a bare name is relative
  // to the current directory; "\" and "/" both separate, "." and ".." are folded away as
  // Windows does, without looking at the disk; names take the form they are shown in
  // (WindowsName.h). Network paths ("\\server\share") and empty texts give kErrPathNotFound.
  int Resolve(std::string_view path, WindowsPath& full) const;

  // Makes a full path current; the directory it leaves is remembered for its drive when the
  // drive changes.
  void Change(const WindowsPath& directory);
  // Makes `directory` current, as Change does, and hands back in it the one current before.
  void Exchange(WindowsPath& directory);

  const WindowsPath& current() const { return current_; }

 private:
  WindowsPath current_;
  // The directory last current on each drive but the current one.
  std::map<char, WindowsPath> remembered_;
  // The last path given from a root ("\..." or "X:\..."), mapped: the next one that begins
  // with the same names takes them from it.
  mutable MappedPrefix last_full_;
};

}  // namespace tarvik
