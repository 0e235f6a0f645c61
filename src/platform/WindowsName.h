#pragma once

#include <string>
#include <string_view>

namespace tarvik {

// Linux allows every byte but "/" and NUL in a name; Windows also forbids
// \ : * ? " < > |, the control characters 1 to 31, spaces at either end and a full stop at
// the end. Such a character is shown as U+F000 plus its code (the private-use convention of
// Cygwin and WSL), so that every name can be shown, trimmed, typed back and opened: a
// leading or trailing space, or a line feed inside, would otherwise be lost to the trimming
// of names or break the line the name is shown on. Only the spaces at either end and the
// spaces and full stops at the end are mapped; inner ones stay, as do "." and "..".
//
// The mapping is one-to-one, so that two files never share a shown name: every byte that
// starts no well-formed UTF-8 sequence is shown as U+F000 plus the byte (U+F080 to U+F0FF),
// and a character U+F000 to U+F0FF that a name on disk holds itself is shown byte by byte, its
// three bytes each so (U+F02A on disk shows as U+F0EF U+F080 U+F0AA). Shown names are thus
// always well-formed UTF-8. A NUL, which only a name read from a text can hold, shows as
// U+F000. No control character reaches a shown name: DEL shows as U+F07F, and the C1 controls
// U+0080 to U+009F byte by byte (U+009B as U+F0C2 U+F09B).

// Whether Windows forbids the character anywhere in a name.
bool IsForbiddenInName(char32_t ch);

// The name as the program shows it.
std::string ToWindowsName(std::string_view posix_name);

// The name on disk of a name in the program's form: ToPosixName(ToWindowsName(x)) gives x for
// every name on disk. False when the name holds one of \ : * ? " < > | or U+F000 (NUL), which
// no file on disk can be reached by.
bool ToPosixName(std::string_view windows_name, std::string& posix_name);

}  // namespace tarvik
