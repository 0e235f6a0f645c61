#include "scan/ChecksumNames.h"

#include "platform/posix/WindowsName.h"
#include "util/Text.h"

namespace tarvik {

namespace {

// Calls `part` with every part of `name` between `separator`s but "." and empty ones.
template <typename Part>
void ForEachPart(std::string_view name, char separator, Part part) {
  while (!name.empty()) {
    const std::size_t end = std::min(name.find(separator), name.size());
    const std::string_view each = name.substr(0, end);
    name.remove_prefix(std::min(end + 1, name.size()));
    if (!each.empty() && each != ".") part(each);
  }
}

bool StartsWith(const std::string& text, const std::string& start, bool case_sensitive) {
  if (case_sensitive) return text.starts_with(start);
  std::string head = text.substr(0, start.size());
  std::string upper_start = start;
  UpperCase1251(head);
  UpperCase1251(upper_start);
  return head == upper_start;
}

}  // namespace

bool NameBelow(const std::string& folder, const std::string& path, bool case_sensitive,
               std::string& name) {
  name.clear();
  if (path.size() <= folder.size() || !StartsWith(path, folder, case_sensitive)) return false;
  bool on_disk = true;
  std::string posix;
  ForEachPart(std::string_view(path).substr(folder.size()), '\\', [&](std::string_view part) {
    on_disk = on_disk && ToPosixName(part, posix);
    if (!name.empty()) name += '/';
    name += posix;
  });
  return on_disk && !name.empty();
}

std::string PathBelow(const std::string& folder, std::string_view name) {
  std::string path = folder;
  ForEachPart(name, '/', [&](std::string_view part) {
    if (path.size() > folder.size()) path += '\\';
    path += ToWindowsName(part);
  });
  return path;
}

std::string PlainName(std::string_view name) {
  std::string plain;
  ForEachPart(name, '/', [&](std::string_view part) {
    if (!plain.empty()) plain += '/';
    plain += part;
  });
  return plain;
}

}  // namespace tarvik
