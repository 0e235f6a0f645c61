#include "history/HistoryPath.h"

#include <cstdlib>

namespace tarvik {

std::string DefaultHistoryPath() {
  const char* data_home = std::getenv("XDG_DATA_HOME");
  if (data_home != nullptr && *data_home != '\0') {
    return std::string(data_home) + "/tarvik/history.sqlite3";
  }
  const char* home = std::getenv("HOME");
  if (home == nullptr || *home == '\0') return "";
  return std::string(home) + "/.local/share/tarvik/history.sqlite3";
}

}  // namespace tarvik
