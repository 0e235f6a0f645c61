#include "browse/PathParts.h"

namespace tarvik {

char UpCaseDrive(char letter) {
  return letter >= 'a' && letter <= 'z' ? static_cast<char>(letter - 'a' + 'A') : letter;
}

std::string DrivePart(std::string_view path) {
  if (path.size() >= 2 && path[1] == ':') return std::string(path.substr(0, 2));
  if (path.starts_with("\\\\")) {
    // Up to, not including, the backslash that ends the share name.
    const auto server_end = path.find('\\', 2);
    if (server_end == std::string_view::npos) return std::string(path);
    return std::string(path.substr(0, path.find('\\', server_end + 1)));
  }
  return {};
}

std::string FileNamePart(std::string_view path) {
  const auto cut = path.find_last_of("\\:");
  return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

std::string JoinPath(std::string_view directory, std::string_view name) {
  std::string path(directory);
  if (!path.ends_with('\\')) path += '\\';
  path += name;
  return path;
}

bool HasWildcard(std::string_view name) {
  return name.find_first_of("*?") != std::string_view::npos;
}

}  // namespace tarvik
