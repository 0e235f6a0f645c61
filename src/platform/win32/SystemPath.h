#pragma once

#include <string>
#include <string_view>

#include "platform/WindowsPath.h"

namespace tarvik {

// The path the system takes for a full path of the program: "\\?\C:\WORK\SUB", so that no
// length limit and no reading of device names or trailing dots applies, each name as stored
// (the names the program shows are mapped back, WindowsName.h). kErrInvalidName for a name no
// file can have.
int Utf8Path(const WindowsPath& path, std::wstring& system_path);
// "C:\" for a drive letter, as the volume calls take a root.
std::wstring RootOf(char drive);
// The drive letter of a root text the program gives ("C:\", "C:", "c:/"), 0 for another text.
char DriveOfRoot(std::string_view root);

// A system path with its "\\?\" or "\\?\UNC\" prefix taken away: "C:\X", "\\SERVER\SHARE\X".
std::wstring WithoutLongPrefix(std::wstring_view system_path);
// The program's full path of a system path on a drive ("C:\X" or "\\?\C:\X"), each name as
// the program shows it; false for any other path (a share's "\\SERVER\SHARE\X").
bool ProgramPathOf(std::wstring_view system_path, WindowsPath& path);

// Whether a name is one Windows takes for a device (CON, NUL, COM1, LPT1, ...), with or without
// an extension: opened by such a name, a console or a port would be read, never a file.
bool IsDeviceName(std::string_view name);

}  // namespace tarvik
