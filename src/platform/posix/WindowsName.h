#pragma once

#include <string>
#include <string_view>

namespace tarvik {

// Linux allows every character but "/" and NUL in a name; Windows also forbids
// \ : * ? " < > |, the control characters 1 to 31, spaces at either end and a full stop at
// the end. Such a character is shown as U+F000 plus its code (the private-use convention of
// Cygwin and WSL), so that every name can be shown, trimmed, typed back and opened: a
// leading or trailing space, or a line feed inside, would otherwise be lost to the trimming
// of names or break the line the name is shown on. Only the spaces at either end and the
// spaces and full stops at the end are mapped; inner ones stay, as do "." and "..".
// A name on disk that already holds one of those private-use characters comes back as the
// character itself; the convention shares that ambiguity.

// Whether Windows forbids the character anywhere in a name.
bool IsForbiddenInName(char32_t ch);

// The name as the program shows it.
std::string ToWindowsName(std::string_view posix_name);

// The name on disk of a name in the program's form; false when the name holds one of
// \ : * ? " < > | itself, which no file on disk can be reached by.
bool ToPosixName(std::string_view windows_name, std::string& posix_name);

}  // namespace tarvik
