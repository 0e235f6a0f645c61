#pragma once

#include <string_view>

namespace tarvik {

// Whether a name matches a file name pattern the way Windows matches them, ignoring case:
// "*" matches any run of characters; "?" matches one character, or none at a full stop or
// at the end of the name (so "FILE?.TXT" finds FILE.TXT as well); a "*" before a full stop
// stops at the name's last full stop; a full stop before "*", "?" or at the end of the
// pattern also matches the end of a name without one. Hence "*.*" matches every name,
// also one without a full stop, and "*." only names without an extension. An empty
// pattern matches nothing.
bool MatchesPattern(std::string_view pattern, std::string_view name);

// Whether two names are equal ignoring case, as a case-insensitive volume compares them.
bool EqualIgnoringCase(std::string_view a, std::string_view b);

}  // namespace tarvik
