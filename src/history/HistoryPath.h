#pragma once

#include <string>

namespace tarvik {

// Where the history lives: $XDG_DATA_HOME/tarvik/history.sqlite3, or
// ~/.local/share/tarvik/history.sqlite3 while that variable is unset or empty. Empty when
// neither it nor HOME is set.
std::string DefaultHistoryPath();

}  // namespace tarvik
