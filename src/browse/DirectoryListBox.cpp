#include "browse/DirectoryListBox.h"

#include <algorithm>

#include "browse/Directories.h"
#include "browse/DriveComboBox.h"
#include "browse/FileListBox.h"
#include "browse/FileNames.h"
#include "browse/ResolvePath.h"
#include "platform/ErrorCodes.h"
#include "util/Path.h"
#include "util/Text.h"

namespace tarvik {

namespace {

// Sets a flag for the life of the guard, so that it is cleared also when a failure ends the
// guarded step.
class FlagGuard {
 public:
  explicit FlagGuard(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagGuard() { flag_ = false; }
  FlagGuard(const FlagGuard&) = delete;
  FlagGuard& operator=(const FlagGuard&) = delete;

 private:
  bool& flag_;
};

}  // namespace

DirectoryListBox::DirectoryListBox(Platform& platform)
    : platform_(platform),
      directory_(platform.CurrentDirectory()),
      subdirectories_(std::make_shared<const std::vector<ListEntry>>()) {
  Fill();
}

DirectoryListBox::~DirectoryListBox() {
  if (drive_combo_ != nullptr) drive_combo_->SetDirList(nullptr);
  SetFileList(nullptr);
}

void DirectoryListBox::SetDirectory(const std::string& path) {
  if (path.empty() || SameFileName(path, directory_, case_sensitive_)) return;
  const ResolvedPath resolved = ResolvePath(platform_, path);
  if (directory_.empty() || resolved.drive != directory_.front()) {
    const FlagGuard guard(changing_directory_);
    if (drive_combo_ != nullptr) {
      drive_combo_->SetDrive(resolved.drive);
    } else {
      DriveChange(resolved.drive);
    }
  }
  // The directory part may be relative to the directory last shown on the new drive.
  EnterIfDirectory(platform_, directory_);
  ChangeDirectory(platform_, resolved.directory);
  directory_ = platform_.CurrentDirectory();
  Fill();
  Change();
}

void DirectoryListBox::SetFileList(FileListBox* file_list) {
  if (file_list_ != nullptr) file_list_->dir_list_ = nullptr;
  file_list_ = file_list;
  if (file_list_ == nullptr) return;
  if (file_list_->dir_list_ != nullptr && file_list_->dir_list_ != this) {
    file_list_->dir_list_->file_list_ = nullptr;
  }
  file_list_->dir_list_ = this;
}

void DirectoryListBox::SetItemIndex(int index) {
  item_index_ = index >= 0 && index < Count() ? index : -1;
  StateChanged();
}

const std::vector<ListEntry>& DirectoryListBox::Entries() const {
  if (!entries_made_) {
    entries_ = levels_;
    entries_.insert(entries_.end(), subdirectories_->begin(), subdirectories_->end());
    entries_made_ = true;
  }
  return entries_;
}

const ListEntry& DirectoryListBox::Entry(int index) const {
  const auto levels = static_cast<int>(levels_.size());
  return index >= 0 && index < levels ? levels_[index] : subdirectories_->at(index - levels);
}

std::string DirectoryListBox::DisplayText(int index) const {
  std::string text = Entry(index).text;
  if (!case_preserving_ && !case_sensitive_) LowerCase1251(text);
  return text;
}

int DirectoryListBox::Indent(int index) const {
  if (index <= current_index_) return 4 * index + 2;
  return 4 * static_cast<int>(std::count(directory_.begin(), directory_.end(), '\\')) + 6;
}

std::string DirectoryListBox::EntryPath(int index) const {
  const ListEntry& entry = Entry(index);
  const std::string drive = DrivePart(directory_);
  if (index == 0) return drive + "\\";
  if (index > current_index_) return JoinPath(directory_, entry.text);
  if (index == current_index_) return directory_;
  // An ancestor: the path up to the backslash that ends its level.
  const std::string rest = directory_.substr(drive.size());
  std::size_t end = 0;
  for (int found = 0; found <= index && end != std::string::npos; ++found) {
    end = rest.find('\\', found == 0 ? 0 : end + 1);
  }
  return drive + rest.substr(0, end);
}

void DirectoryListBox::OpenEntry(int index) {
  if (index < 0 || index >= Count()) return;
  SetItemIndex(index);
  SetDirectory(EntryPath(index));
}

void DirectoryListBox::DriveChange(char drive) {
  if (!directory_.empty() && UpCaseDrive(drive) == UpCaseDrive(directory_.front())) return;
  if (drive != 0) {
    // "X:" alone goes back to the directory last current on that drive.
    ChangeDirectory(platform_, std::string(1, drive) + ":");
    directory_ = platform_.CurrentDirectory();
  }
  if (!changing_directory_) {
    Fill();
    Change();
  }
}

void DirectoryListBox::Fill() {
  const std::string root = DrivePart(directory_) + "\\";
  VolumeInfo volume;
  if (platform_.VolumeInformation(root, volume) != kNoError) volume.flags = 0;
  case_preserving_ = (volume.flags & (kVolumeCaseSensitiveSearch | kVolumeCasePreservedNames)) != 0;
  case_sensitive_ = (volume.flags & kVolumeCaseSensitiveSearch) != 0;

  if (root.starts_with("\\\\")) {
    levels_.clear();
    levels_path_.clear();
    levels_.push_back({root, Glyph::kOpenFolder});
    if (directory_.size() > root.size()) {
      AddPathLevels(directory_.substr(root.size()), false);
    } else {
      levels_.back().glyph = Glyph::kCurrentFolder;
    }
  } else {
    SetDriveLevels(directory_);
  }
  current_index_ = static_cast<int>(levels_.size()) - 1;
  subdirectories_ =
      EntriesThrough(cache_, directory_, case_sensitive_ ? "subdirectories" : "SUBDIRECTORIES",
                     [this] { return ListSubdirectories(); });
  entries_made_ = false;
  item_index_ = current_index_;
  StateChanged();
}

std::vector<ListEntry> DirectoryListBox::ListSubdirectories() const {
  std::vector<ListEntry> subdirectories;
  for (const FoundEntry& found :
       platform_.FindDirectories(JoinPath(directory_, "*.*"), kAttrDirectory)) {
    if (found.name == "." || found.name == "..") continue;
    subdirectories.push_back({found.name, Glyph::kClosedFolder});
  }
  SortEntries(subdirectories);
  subdirectories.erase(std::unique(subdirectories.begin(), subdirectories.end(),
                                   [this](const auto& a, const auto& b) {
                                     return SameFileName(a.text, b.text, case_sensitive_);
                                   }),
                       subdirectories.end());
  return subdirectories;
}

void DirectoryListBox::AddPathLevels(const std::string& path, bool first_gets_backslash,
                                     std::size_t start) {
  if (path.ends_with('\\')) {
    levels_.push_back({path, Glyph::kCurrentFolder});
    return;
  }
  for (auto slash = path.find('\\', start); slash != std::string::npos;
       start = slash + 1, slash = path.find('\\', start)) {
    std::string level = path.substr(start, slash - start);
    if (start == 0 && first_gets_backslash) level += '\\';
    levels_.push_back({std::move(level), Glyph::kOpenFolder});
  }
  levels_.push_back({path.substr(start), Glyph::kCurrentFolder});
}

void DirectoryListBox::SetDriveLevels(const std::string& path) {
  // A level that ends before a backslash that both paths have is the same in both.
  const std::size_t common = CommonPrefixLength(path, levels_path_);
  const std::size_t shared = common > 0 ? path.rfind('\\', common - 1) : std::string::npos;
  if (shared == std::string::npos || path.ends_with('\\')) {
    levels_.clear();
    AddPathLevels(path, true);
    levels_path_.clear();
    if (!path.ends_with('\\')) levels_path_ = path;
    return;
  }
  // The levels past the shared backslash are those of the old path's backslashes after it:
  // only the names that differ are looked at, however deep the path.
  const auto separators_after = std::count(
      levels_path_.begin() + static_cast<std::ptrdiff_t>(shared), levels_path_.end(), '\\');
  levels_.resize(levels_.size() - static_cast<std::size_t>(separators_after));
  AddPathLevels(path, true, shared + 1);
  levels_path_.resize(common);
  levels_path_.append(path, common);
}

void DirectoryListBox::Change() {
  if (file_list_ != nullptr) file_list_->SetDirectory(directory_);
  OnChange();
}

}  // namespace tarvik
