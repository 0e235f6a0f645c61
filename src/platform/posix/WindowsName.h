#pragma once

#include <string>
#include <string_view>

namespace tarvik {

// Linux allows every character but "/" and NUL in a name; Windows also forbids
// \ : * ? " < > |. Such a character is shown as U+F000 plus its code (the private-use
// convention of Cygwin and WSL), so that every name can be shown, typed back and opened.
// A name on disk that already holds one of those private-use characters comes back as the
// forbidden character itself; the convention shares that ambiguity.

// Whether Windows forbids the character in a name.
bool IsForbiddenInName(char32_t ch);

// The name as the program shows it.
std::string ToWindowsName(std::string_view posix_name);

// The name on disk of a name in the program's form; false when the name holds a forbidden
// character itself, which no file on disk can be reached by.
bool ToPosixName(std::string_view windows_name, std::string& posix_name);

}  // namespace tarvik
