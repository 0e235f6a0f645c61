#pragma once

#include <string>

namespace tarvik {

// Where the history lives. On Linux: $XDG_DATA_HOME/tarvik/history.sqlite3, or
// ~/.local/share/tarvik/history.sqlite3 while that variable is unset or empty; empty when
// neither it nor HOME is set. On Windows: tarvik\history.sqlite3 in the user's local
// application data (%LOCALAPPDATA%); empty when the system names none.
std::string DefaultHistoryPath();

}  // namespace tarvik
