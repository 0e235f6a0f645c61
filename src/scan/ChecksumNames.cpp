#include "scan/ChecksumNames.h"

#include <algorithm>
#include <vector>

#include "platform/Pattern.h"
#include "platform/WindowsName.h"
#include "util/Path.h"
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

// The parts of a path after its root ("D:\" or "/"), with ".." taken back: false when one
// would climb above the root.
bool AddParts(std::vector<std::string>& parts, std::string_view name, char separator) {
  bool below_root = true;
  ForEachPart(name, separator, [&](std::string_view part) {
    if (part != "..") {
      parts.emplace_back(part);
    } else if (parts.empty()) {
      below_root = false;
    } else {
      parts.pop_back();
    }
  });
  return below_root;
}

// The drive path of an absolute system path, its ".." taken back first.
std::string FromSystemPath(Platform& platform, std::string_view system_path) {
  std::vector<std::string> parts;
  // Above the root is the root itself, as the system takes it.
  AddParts(parts, system_path, '/');
  std::string path;
  for (const std::string& part : parts) path += "/" + part;
  return platform.FromSystemPath(path.empty() ? "/" : path);
}

std::string DriveRoot(const std::string& folder) { return folder.substr(0, 3); }

// The drive path of `parts` below a drive's root ("D:\\").
std::string JoinOnDrive(std::string path, const std::vector<std::string>& parts) {
  for (const std::string& part : parts) {
    if (path.size() > 3) path += '\\';
    path += part;
  }
  return path;
}

// The system's path of a folder in drive form, ending in "\"; empty for a share's.
std::string SystemFolder(Platform& platform, const std::string& folder) {
  return platform.ToSystemPath(folder.size() > 3 ? folder.substr(0, folder.size() - 1) : folder);
}

bool HasParentPart(std::string_view name) {
  bool parent = false;
  ForEachPart(name, '/', [&](std::string_view part) { parent = parent || part == ".."; });
  return parent;
}

// A name with ".." from the folder at the system path `base`: the folder before its last part
// as the kernel resolves it, then that part.
std::string ResolveThroughLinks(Platform& platform, const std::string& base,
                                std::string_view name) {
  const std::string full =
      name.starts_with('/') ? std::string(name) : base + "/" + std::string(name);
  const std::size_t slash = full.rfind('/');
  const std::string real = platform.RealSystemPath(slash == 0 ? "/" : full.substr(0, slash));
  return real.empty() ? std::string() : FromSystemPath(platform, real + full.substr(slash));
}

// Whether the system's own paths are drive paths (Windows), or POSIX paths (Linux).
#ifdef _WIN32
constexpr bool kSystemPathsAreDrivePaths = true;
#else
constexpr bool kSystemPathsAreDrivePaths = false;
#endif

// `name` from `folder` where system paths are drive paths: "\" separates as "/" does, "X:/..."
// or "X:\..." is absolute, "/..." begins at the folder's root, and ".." is taken back by the
// text, at most to the root, as Windows takes it.
std::string ResolveOnDrives(const std::string& folder, std::string_view name) {
  std::string root = DriveRoot(folder);
  std::string_view base = std::string_view(folder).substr(3);
  const auto is_separator = [](char ch) { return ch == '/' || ch == '\\'; };
  if (name.size() >= 3 && name[1] == ':' && is_separator(name[2])) {
    root = std::string(1, UpCaseDrive(name[0])) + ":\\";
    base = {};
    name.remove_prefix(3);
  } else if (!name.empty() && is_separator(name[0])) {
    base = {};
  }
  std::string joined = std::string(base) + '\\' + std::string(name);
  std::replace(joined.begin(), joined.end(), '/', '\\');
  std::vector<std::string> parts;
  AddParts(parts, joined, '\\');
  return JoinOnDrive(root, parts);
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

bool NameFrom(Platform& platform, const std::string& folder, const std::string& path,
              bool case_sensitive, std::string& name) {
  if (NameBelow(folder, path, case_sensitive, name)) return true;
  if (DriveRoot(folder) != DriveRoot(path)) {
    name = platform.ToSystemPath(path);
    return !name.empty();
  }
  // The deepest folder that holds both, then up from `folder` to it and down to the file.
  std::vector<std::string> from;
  std::vector<std::string> to;
  AddParts(from, std::string_view(folder).substr(3), '\\');
  AddParts(to, std::string_view(path).substr(3), '\\');
  std::size_t common = 0;
  const auto same = [case_sensitive](const std::string& a, const std::string& b) {
    return case_sensitive ? a == b : EqualIgnoringCase(a, b);
  };
  while (common < from.size() && common + 1 < to.size() && same(from[common], to[common])) {
    ++common;
  }
  name.clear();
  for (std::size_t i = common; i < from.size(); ++i) name += "../";
  std::string posix;
  for (std::size_t i = common; i < to.size(); ++i) {
    if (!ToPosixName(to[i], posix)) return false;
    name += posix + (i + 1 < to.size() ? "/" : "");
  }
  return true;
}

std::string ResolveName(Platform& platform, const std::string& folder, std::string_view name) {
  // The kernel refuses a trailing "/" after a file's name.
  if (name.ends_with('/') || name.ends_with("/.")) return {};
  if constexpr (kSystemPathsAreDrivePaths) return ResolveOnDrives(folder, name);
  if (HasParentPart(name)) {
    const std::string base = SystemFolder(platform, folder);
    if (!base.empty()) return ResolveThroughLinks(platform, base, name);
  }
  if (name.starts_with('/')) return FromSystemPath(platform, name);
  std::vector<std::string> parts;
  AddParts(parts, std::string_view(folder).substr(3), '\\');
  bool on_drive = true;
  ForEachPart(name, '/', [&](std::string_view part) {
    if (part != "..") {
      parts.push_back(ToWindowsName(part));
    } else if (parts.empty()) {
      on_drive = false;
    } else {
      parts.pop_back();
    }
  });
  // Above a share's root: no system path reaches it.
  if (!on_drive) return {};
  return JoinOnDrive(DriveRoot(folder), parts);
}

std::string WrittenName(const std::string& folder, std::string_view name) {
  if (name.starts_with('/')) return std::string(name);
  std::string shown = folder;
  for (std::size_t end = name.find('/'); end != std::string_view::npos; end = name.find('/')) {
    shown += ToWindowsName(name.substr(0, end)) + '\\';
    name.remove_prefix(end + 1);
  }
  return shown + ToWindowsName(name);
}

}  // namespace tarvik
