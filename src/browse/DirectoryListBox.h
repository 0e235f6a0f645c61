#pragma once

#include <string>
#include <vector>

#include "browse/Glyph.h"
#include "browse/ListControl.h"
#include "browse/ListingCache.h"
#include "platform/Platform.h"
#include "util/Signal.h"

namespace tarvik {

class DriveComboBox;
class FileListBox;

// The directory list: the levels of the current directory's path from the root down ("C:\",
// "WORK", "SUB"), then its subdirectories in list order; the current directory's entry is
// selected after every fill. Hidden and system subdirectories are not listed. A new directory
// refills this list, moves the linked file list, then sends OnChange, all before the setter
// returns; the platform's current directory follows.
class DirectoryListBox : public ListControl {
 public:
  // Takes the platform's current directory and fills the list.
  explicit DirectoryListBox(Platform& platform);
  ~DirectoryListBox();
  DirectoryListBox(const DirectoryListBox&) = delete;
  DirectoryListBox& operator=(const DirectoryListBox&) = delete;

  // The full path of the current directory as the platform reports it ("C:\", "C:\WORK").
  const std::string& Directory() const { return directory_; }
  // Changes to `path` (absolute, drive-relative or relative; a trailing backslash is accepted)
  // through the linked drive list when the drive changes. An empty path, or the current one,
  // changes nothing and sends nothing. Throws IoError when a directory cannot be entered; what
  // was done before stays done.
  void SetDirectory(const std::string& path);

  // Reads the subdirectories through `cache` (nullptr: none) from now on.
  void SetListingCache(ListingCache* cache) { cache_ = cache; }

  FileListBox* FileList() const { return file_list_; }
  // Links (or, with nullptr, unlinks) the file list that follows the directory.
  void SetFileList(FileListBox* file_list);
  // The drive list linked to this one through DriveComboBox::SetDirList, or nullptr.
  DriveComboBox* DriveCombo() const { return drive_combo_; }

  const std::vector<ListEntry>& Entries() const;
  // Path levels plus listed subdirectories.
  int Count() const { return static_cast<int>(levels_.size() + subdirectories_->size()); }
  // Entry `index`; throws std::out_of_range outside the list.
  const ListEntry& Entry(int index) const;
  // Index of the current directory's entry; the entries up to it are the path levels.
  int CurrentIndex() const { return current_index_; }
  // Index of the selected entry, -1 for none.
  int ItemIndex() const { return item_index_; }
  // Moves the selection (the user's click, or code) without opening anything; an index outside
  // the list selects nothing.
  void SetItemIndex(int index);

  // The volume's case flags as read at the last fill.
  bool CasePreserving() const { return case_preserving_; }
  bool CaseSensitive() const { return case_sensitive_; }

  // The text an entry shows: as stored, or lower-cased on a volume that keeps no case.
  std::string DisplayText(int index) const;
  // Pixels from the left edge to an entry's glyph.
  int Indent(int index) const;
  // The directory that opening an entry goes to.
  std::string EntryPath(int index) const;

  // The user opens entry `index` (a double click on it, or Enter with OpenEntry(ItemIndex())):
  // it becomes the selection and Directory is set to its path.
  void OpenEntry(int index);

  // Sent after every fill that a drive or directory change caused, once the file list follows.
  Signal OnChange;

 private:
  friend class DriveComboBox;

  // The drive list moved to `drive`.
  void DriveChange(char drive);
  void Fill();
  // The current directory's subdirectories in list order, each name once.
  std::vector<ListEntry> ListSubdirectories() const;
  // The levels of the names of `path` from `start` on.
  void AddPathLevels(const std::string& path, bool first_gets_backslash, std::size_t start = 0);
  // The levels of a path on a drive with a letter. The levels of the names it shares with the
  // path they were last made for are kept: in a deep tree they are many.
  void SetDriveLevels(const std::string& path);
  void Change();

  Platform& platform_;
  std::string directory_;
  DriveComboBox* drive_combo_ = nullptr;
  FileListBox* file_list_ = nullptr;
  ListingCache* cache_ = nullptr;
  std::vector<ListEntry> levels_;
  // The path of a drive with a letter that levels_ were made for, empty for any other.
  std::string levels_path_;
  // Shared with the listing cache: a fill that finds the listing kept copies no entry.
  SharedEntries subdirectories_;
  // Levels and subdirectories in one list, made when first asked for after a fill.
  mutable std::vector<ListEntry> entries_;
  mutable bool entries_made_ = false;
  int current_index_ = -1;
  int item_index_ = -1;
  bool case_preserving_ = false;
  bool case_sensitive_ = false;
  // Set while SetDirectory moves the drive: the drive step then only changes the directory, and
  // the one fill and notification come from SetDirectory itself.
  bool changing_directory_ = false;
};

}  // namespace tarvik
