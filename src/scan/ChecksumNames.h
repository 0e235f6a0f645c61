#pragma once

#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace tarvik {

// Checksum files name files relative to a folder, with "/" between the parts of a name and
// each part as it is on disk, or by an absolute path of the system; the program names them by
// drive paths ("D:\SUB\A.BIN") whose parts are in its own form (WindowsName.h). These translate
// between the two.

// The name of the file at `path` relative to `folder` (both in drive form, the folder ending
// in "\"): false when the file does not lie below the folder, or a part names nothing on disk.
bool NameBelow(const std::string& folder, const std::string& path, bool case_sensitive,
               std::string& name);

// The name that reaches the file at `path` from `folder` (both in drive form, the folder ending
// in "\"), as sha256sum -c run in that folder opens it: below the folder as NameBelow gives it,
// else through as many ".." as needed on the same drive, else the system's absolute path; the
// folders of both compare by `case_sensitive`. False when no name reaches it (a part names
// nothing on disk, a file on a share).
bool NameFrom(Platform& platform, const std::string& folder, const std::string& path,
              bool case_sensitive, std::string& name);

// The drive path of the file `name` names from `folder` (drive form, ending in "\"), as
// sha256sum -c run in that folder opens it: "." and empty parts left out, an absolute name as
// the system's path. A name with ".." is taken through the file system, since the kernel takes
// ".." after a link to a folder from where the link leads; on Windows, whose system paths are
// drive paths, ".." is taken back by the text as the system does, "\" separates as "/" does
// and "X:/..." is absolute. Empty when the name can name no file:
// it ends in "/" or "/.", a folder on its way is missing or is none, or no drive holds it.
std::string ResolveName(Platform& platform, const std::string& folder, std::string_view name);

// `name` as written in a checksum file, shown from `folder` (drive form, ending in "\") in the
// program's form without resolving a part: for a name that reaches no file.
std::string WrittenName(const std::string& folder, std::string_view name);

}  // namespace tarvik
