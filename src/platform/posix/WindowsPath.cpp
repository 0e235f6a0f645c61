#include "platform/posix/WindowsPath.h"

#include "platform/ErrorCodes.h"
#include "platform/posix/WindowsName.h"
#include "util/Path.h"

namespace tarvik {

namespace {

bool IsSeparator(char ch) { return ch == '\\' || ch == '/'; }

bool HasDrivePrefix(std::string_view path) {
  if (path.size() < 2 || path[1] != ':') return false;
  const char letter = path[0];
  return (letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z');
}

}  // namespace

std::string FormatWindowsPath(const WindowsPath& path) {
  std::string text{path.drive, ':'};
  if (path.names.empty()) return text + '\\';
  for (const std::string& name : path.names) {
    text += '\\';
    text += name;
  }
  return text;
}

void SplitDirectoryAndName(std::string_view path, std::string_view& directory,
                           std::string_view& name) {
  std::size_t split = path.find_last_of("\\/");
  if (split != std::string_view::npos) {
    ++split;
  } else {
    split = HasDrivePrefix(path) ? 2 : 0;
  }
  directory = path.substr(0, split);
  name = path.substr(split);
}

CurrentDirectories::CurrentDirectories(WindowsPath start) { Change(start); }

int CurrentDirectories::Resolve(std::string_view path, WindowsPath& full) const {
  if (path.empty()) return kErrPathNotFound;
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) return kErrPathNotFound;
  std::string_view rest = path;
  const char drive = HasDrivePrefix(path) ? UpCaseDrive(path[0]) : current_.drive;
  if (HasDrivePrefix(path)) rest.remove_prefix(2);
  // A path from the root copies no directory's names: in a deep tree they are many.
  if (!rest.empty() && IsSeparator(rest[0])) {
    full = WindowsPath{drive, {}};
  } else if (drive == current_.drive) {
    full = current_;
  } else if (const auto found = remembered_.find(drive); found != remembered_.end()) {
    full = found->second;
  } else {
    full = WindowsPath{drive, {}};
  }
  while (!rest.empty()) {
    std::size_t end = 0;
    while (end < rest.size() && !IsSeparator(rest[end])) ++end;
    const std::string_view name = rest.substr(0, end);
    rest.remove_prefix(end < rest.size() ? end + 1 : end);
    if (name.empty() || name == ".") continue;
    if (name == "..") {
      if (!full.names.empty()) full.names.pop_back();
      continue;
    }
    // A name typed with a character that names are shown mapped for (a line feed, a space at
    // an end) takes the shown form, which stands for the same name on disk, so that no line
    // the program writes ever holds it raw.
    std::string stored;
    full.names.push_back(ToPosixName(name, stored) ? ToWindowsName(stored) : std::string(name));
  }
  return kNoError;
}

void CurrentDirectories::Change(const WindowsPath& directory) {
  current_ = directory;
  remembered_[directory.drive] = directory;
}

}  // namespace tarvik
