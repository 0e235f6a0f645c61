#pragma once

#include <string>
#include <string_view>

namespace tarvik {

// Checksum files name files relative to a folder, with "/" between the parts of a name and
// each part as it is on disk; the program names them by drive paths ("D:\SUB\A.BIN") whose
// parts are in its own form (WindowsName.h). These translate between the two.

// The name of the file at `path` relative to `folder` (both in drive form, the folder ending
// in "\"): false when the file does not lie below the folder, or a part names nothing on disk.
bool NameBelow(const std::string& folder, const std::string& path, bool case_sensitive,
               std::string& name);

// The drive path of the file `name` names below `folder`; "." parts and empty parts left out.
std::string PathBelow(const std::string& folder, std::string_view name);

// `name` without "." parts and empty parts ("./A//B" names "A/B").
std::string PlainName(std::string_view name);

}  // namespace tarvik
