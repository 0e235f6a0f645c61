#pragma once

#include <string>
#include <string_view>

// UTF-8 inside the program, UTF-16 at the Windows API. A name on disk may hold a UTF-16 code
// unit that pairs with none (a lone surrogate): it is carried as its three-byte UTF-8 form
// (WTF-8), which no well-formed text holds, so that every name converts there and back.
namespace tarvik {

std::wstring Widen(std::string_view text);
std::string Narrow(std::wstring_view text);

}  // namespace tarvik
