#include "browse/FileListBox.h"

#include <array>
#include <string_view>

#include "browse/Directories.h"
#include "browse/DirectoryListBox.h"
#include "browse/FileNames.h"
#include "browse/ResolvePath.h"
#include "platform/IoError.h"
#include "util/Path.h"
#include "util/Text.h"

namespace tarvik {

namespace {

// A read that has found this many entries shows the busy cursor until it ends.
constexpr std::size_t kBusyEntryCount = 101;

bool IsExecutable(const std::string& name) {
  const auto dot = name.rfind('.');
  if (dot == std::string::npos) return false;
  std::string extension = name.substr(dot);
  LowerCase1251(extension);
  constexpr std::array<std::string_view, 4> kExecutable = {".exe", ".com", ".bat", ".pif"};
  for (const std::string_view executable : kExecutable) {
    if (extension == executable) return true;
  }
  return false;
}

}  // namespace

// Shows the busy cursor on request and puts back the one that was showing when it was made,
// also when a failure ends the read.
class FileListBox::BusyScope {
 public:
  explicit BusyScope(FileListBox& list) : list_(list), was_busy_(list.busy_) {}
  ~BusyScope() { list_.SetBusy(was_busy_); }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

  void Show() { list_.SetBusy(true); }

 private:
  FileListBox& list_;
  bool was_busy_;
};

FileListBox::FileListBox(Platform& platform)
    : platform_(platform),
      directory_(platform.CurrentDirectory()),
      case_sensitive_(CaseSensitiveVolume(platform, directory_)),
      entries_(std::make_shared<const std::vector<ListEntry>>()) {}

FileListBox::~FileListBox() {
  if (dir_list_ != nullptr) dir_list_->SetFileList(nullptr);
}

void FileListBox::SetDirectory(const std::string& path) {
  if (SameFileName(path, directory_, case_sensitive_)) return;
  // The new path may be relative to the directory this list showed.
  EnterIfDirectory(platform_, directory_);
  ChangeDirectory(platform_, path);
  directory_ = platform_.CurrentDirectory();
  case_sensitive_ = CaseSensitiveVolume(platform_, directory_);
  ReadFileNames();
}

void FileListBox::SetMask(const std::string& mask) {
  if (mask == mask_) return;
  mask_ = mask;
  ReadFileNames();
}

void FileListBox::SetFileType(TFileType file_type) {
  if (file_type == file_type_) return;
  file_type_ = file_type;
  ReadFileNames();
}

void FileListBox::SetShowGlyphs(bool show_glyphs) {
  if (show_glyphs == show_glyphs_) return;
  show_glyphs_ = show_glyphs;
  ++entries_revision_;
  StateChanged();
}

void FileListBox::CreateWindow() {
  if (window_created_) return;
  window_created_ = true;
  ReadFileNames();
}

const std::vector<ListEntry>& FileListBox::Entries() {
  CreateWindow();
  return *entries_;
}

int FileListBox::Count() { return static_cast<int>(Entries().size()); }

int FileListBox::ItemIndex() {
  CreateWindow();
  return item_index_;
}

void FileListBox::SetItemIndex(int index) {
  item_index_ = index >= 0 && index < Count() ? index : -1;
  StateChanged();
}

std::string FileListBox::SelectedPath() {
  CreateWindow();
  return PathOfSelection();
}

void FileListBox::ApplyPath(const std::string& path) {
  // The selection is compared as it stands: a list without a window has none.
  if (path.empty() || SameFileName(path, PathOfSelection(), case_sensitive_)) return;
  const ResolvedPath resolved = ResolvePath(platform_, path);
  if (dir_list_ != nullptr) {
    dir_list_->SetDirectory(path);
  } else if (resolved.drive != 0) {
    SetDirectory(std::string(1, resolved.drive) + ":" + resolved.directory);
  } else {
    SetDirectory(resolved.directory);
  }
  const std::string& file = resolved.file;
  if (HasWildcards(file)) {
    SetMask(file);
    return;
  }
  if (file.empty()) return;
  SelectFileName(file);
  if (!platform_.FileExists(file)) throw IoError(kErrInvalidName, "Invalid file name - " + path);
  if (item_index_ < 0) {
    // The mask hid the file: show it alone.
    SetMask(file);
    SelectFileName(file);
  }
}

void FileListBox::ClickEntry(int index) {
  if (index < 0 || index >= Count()) return;
  item_index_ = index;
  StateChanged();
  OnClick();
  if (item_index_ != last_index_) Change();
}

void FileListBox::ReadFileNames() {
  if (!window_created_) return;
  // Entering the directory comes first, so that a failure leaves the entries as they were.
  ChangeDirectory(platform_, directory_);
  static const SharedEntries kNoEntries = std::make_shared<const std::vector<ListEntry>>();
  entries_ = kNoEntries;
  ++entries_revision_;
  item_index_ = -1;
  {
    BusyScope busy(*this);
    const std::string query = mask_ + '\0' + std::to_string(file_type_.AttributeWord()) + '/' +
                              std::to_string(file_type_.Contains(ftNormal)) + '/' +
                              std::to_string(show_glyphs_);
    entries_ = EntriesThrough(cache_, directory_, query, [&] { return ListFileNames(busy); });
    // A long list shows the busy cursor for a moment also when it was kept.
    if (entries_->size() >= kBusyEntryCount) busy.Show();
    ++entries_revision_;
    StateChanged();
  }
  Change();
}

std::vector<ListEntry> FileListBox::ListFileNames(BusyScope& busy) {
  const std::uint32_t attributes = file_type_.AttributeWord();
  // A subdirectory list keeps directories only, so that hidden and system ones can be asked
  // for without their files joining them; the files need not be looked at.
  const bool directories_only = file_type_.Contains(ftDirectory) && !file_type_.Contains(ftNormal);
  std::vector<ListEntry> entries;
  std::size_t start = 0;
  for (bool last = false; !last;) {
    auto end = mask_.find(';', start);
    last = end == std::string::npos;
    if (last) end = mask_.size();
    const std::string pattern = mask_.substr(start, end - start);
    start = end + 1;
    // An empty pattern names nothing, rather than the whole directory, and a path names
    // nothing either: a mask only ever picks files of the listed directory.
    if (pattern.empty() || !IsNamePattern(pattern)) continue;
    for (FoundEntry& found : directories_only ? platform_.FindDirectories(pattern, attributes)
                                              : platform_.FindFiles(pattern, attributes)) {
      if (!file_type_.Contains(ftNormal) && (found.attributes & attributes) == 0) continue;
      if ((found.attributes & kAttrDirectory) != 0) {
        entries.push_back(
            {"[" + found.name + "]", show_glyphs_ ? Glyph::kClosedFolder : Glyph::kNone});
      } else {
        const Glyph glyph = IsExecutable(found.name) ? Glyph::kExecutable : Glyph::kUnknownFile;
        entries.push_back({std::move(found.name), glyph});
      }
      if (entries.size() == kBusyEntryCount) busy.Show();
    }
  }
  SortEntries(entries);
  return entries;
}

void FileListBox::Change() {
  last_index_ = item_index_;
  OnChange();
}

std::string FileListBox::SelectedText() const {
  return item_index_ < 0 ? std::string() : (*entries_)[item_index_].text;
}

std::string FileListBox::PathOfSelection() const {
  return item_index_ < 0 ? std::string() : JoinPath(directory_, (*entries_)[item_index_].text);
}

void FileListBox::SelectFileName(const std::string& name) {
  CreateWindow();
  if (SameFileName(name, SelectedText(), case_sensitive_)) return;
  item_index_ = -1;
  for (int i = 0; i < static_cast<int>(entries_->size()); ++i) {
    if (SameFileName((*entries_)[i].text, name, case_sensitive_)) {
      item_index_ = i;
      break;
    }
  }
  StateChanged();
  Change();
}

void FileListBox::SetBusy(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  BusyChanged();
}

}  // namespace tarvik
