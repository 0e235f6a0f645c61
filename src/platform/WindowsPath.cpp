#include "platform/WindowsPath.h"

#include "platform/ErrorCodes.h"
#include "platform/WindowsName.h"
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

void WindowsPath::Append(std::string_view name) {
  if (!text.empty()) text += '\\';
  text += name;
}

void WindowsPath::RemoveLast() { text.resize(ParentNames().size()); }

std::string_view WindowsPath::ParentNames() const {
  const std::size_t last = text.rfind('\\');
  return last == std::string::npos ? std::string_view() : std::string_view(text).substr(0, last);
}

std::string_view WindowsPath::LastName() const {
  const std::size_t last = text.rfind('\\');
  return last == std::string::npos ? std::string_view(text)
                                   : std::string_view(text).substr(last + 1);
}

std::vector<std::string> WindowsPath::NameList() const {
  std::vector<std::string> names;
  std::string_view rest = text;
  while (!rest.empty()) {
    const std::size_t end = std::min(rest.find('\\'), rest.size());
    names.emplace_back(rest.substr(0, end));
    rest.remove_prefix(end < rest.size() ? end + 1 : end);
  }
  return names;
}

std::string FormatWindowsPath(const WindowsPath& path) {
  std::string text;
  FormatWindowsPath(path, text);
  return text;
}

void FormatWindowsPath(const WindowsPath& path, std::string& text) {
  text.assign({path.drive, ':', '\\'});
  text += path.text;
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

CurrentDirectories::CurrentDirectories(WindowsPath start) : current_(std::move(start)) {}

int CurrentDirectories::Resolve(std::string_view path, WindowsPath& full) const {
  if (path.empty()) return kErrPathNotFound;
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) return kErrPathNotFound;
  const char drive = HasDrivePrefix(path) ? UpCaseDrive(path[0]) : current_.drive;
  std::size_t at = HasDrivePrefix(path) ? 2 : 0;
  // A path from a root, as a walk gives them one after the other, takes the names it begins
  // with from the last such path: in a deep tree they are many.
  const bool rooted = at < path.size() && IsSeparator(path[at]);
  const std::string_view from_root = path.substr(at);
  if (rooted) {
    full.drive = drive;
    at += last_full_.Reuse(from_root, full.text, IsSeparator);
  } else if (drive == current_.drive) {
    full = current_;
  } else if (const auto found = remembered_.find(drive); found != remembered_.end()) {
    full = found->second;
  } else {
    full = WindowsPath{drive, {}};
  }
  bool folded = false;
  while (at < path.size()) {
    std::size_t end = at;
    while (end < path.size() && !IsSeparator(path[end])) ++end;
    const std::string_view name = path.substr(at, end - at);
    at = end < path.size() ? end + 1 : end;
    if (name.empty() || name == ".") continue;
    if (name == "..") {
      full.RemoveLast();
      folded = true;
      continue;
    }
    // A name typed with a character that names are shown mapped for (a line feed, a space at
    // an end) takes the shown form, which stands for the same name on disk, so that no line
    // the program writes ever holds it raw.
    std::string stored;
    full.Append(ToPosixName(name, stored) ? ToWindowsName(stored) : std::string(name));
    if (rooted) last_full_.Add(end - (path.size() - from_root.size()), full.text.size());
  }
  // Names that ".." took back are not those of the text before it.
  if (rooted && folded) last_full_.Clear();
  if (rooted && !folded) last_full_.Keep(from_root, full.text);
  return kNoError;
}

void CurrentDirectories::Change(const WindowsPath& directory) {
  if (directory.drive != current_.drive) remembered_[current_.drive] = current_;
  current_ = directory;
}

void CurrentDirectories::Exchange(WindowsPath& directory) {
  if (directory.drive != current_.drive) remembered_[current_.drive] = current_;
  std::swap(current_, directory);
}

}  // namespace tarvik
