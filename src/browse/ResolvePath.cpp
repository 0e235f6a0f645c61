#include "browse/ResolvePath.h"

#include "browse/Directories.h"
#include "util/Path.h"

namespace tarvik {

namespace {

// Returns to the directory that was current when it was made, if that still exists.
class CurrentDirectoryRestorer {
 public:
  explicit CurrentDirectoryRestorer(Platform& platform)
      : platform_(platform), directory_(platform.CurrentDirectory()) {}
  ~CurrentDirectoryRestorer() {
    // Nothing can be reported from here; a vanished start directory simply stays left.
    platform_.SetCurrentDirectory(directory_);
  }
  CurrentDirectoryRestorer(const CurrentDirectoryRestorer&) = delete;
  CurrentDirectoryRestorer& operator=(const CurrentDirectoryRestorer&) = delete;

  const std::string& directory() const { return directory_; }

 private:
  Platform& platform_;
  std::string directory_;
};

}  // namespace

ResolvedPath ResolvePath(Platform& platform, const std::string& text) {
  const CurrentDirectoryRestorer restorer(platform);
  const std::string& start = restorer.directory();
  ResolvedPath result;
  result.drive = start.empty() ? 0 : start.front();
  std::string root;
  std::string& directory = result.directory;
  if (text.size() >= 2 && text.front() == '[' && text.back() == ']') {
    directory = text;
    StripBrackets(directory);
  } else {
    root = DrivePart(text);
    directory = text;
    if (root.empty()) {
      root = DrivePart(start);
    } else {
      directory.erase(0, root.size());
    }
    result.drive = root.size() >= 2 && root[1] == ':' ? root.front() : 0;
  }

  if (!root.empty()) EnterIfDirectory(platform, root);
  std::string& file = result.file;
  file = FileNamePart(directory);
  if (directory == "\\" + file) {
    directory = "\\";
  } else if (directory.size() > file.size()) {
    // The separator before the name goes with it ("A\B" leaves "A", "\WORK\" leaves "\WORK").
    directory.erase(directory.size() - file.size() - 1);
  } else {
    const std::string current = platform.CurrentDirectory();
    directory = current.substr(DrivePart(current).size());
    if (directory.empty()) directory = "\\";
  }
  if (!directory.empty()) ChangeDirectory(platform, directory);
  if (!file.empty() && !HasWildcards(file) && !platform.FileExists(file)) {
    ChangeDirectory(platform, file);
    directory = directory == "\\" ? "\\" + file : directory + "\\" + file;
    file.clear();
  }
  if (result.drive == 0) directory = root + directory;
  return result;
}

}  // namespace tarvik
