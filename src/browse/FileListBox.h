#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "browse/FileType.h"
#include "browse/Glyph.h"
#include "browse/ListControl.h"
#include "browse/ListingCache.h"
#include "platform/Platform.h"
#include "util/Signal.h"

namespace tarvik {

class DirectoryListBox;

// A file list: the names in Directory that match Mask (patterns separated by ";") and pass the
// FileType filter, in list order, duplicates kept (a name matching two patterns is listed
// twice); directories appear as "[NAME]". A FileType holding ftDirectory but not ftNormal makes
// a list of directories only: its other members admit hidden and system directories, no files. The
// list reads the disk only once its window exists: a shown list creates it when it is shown, a
// never-shown one when it is first asked for its entries, selection or SelectedPath. Until then
// setters only store.
class FileListBox : public ListControl {
 public:
  // Takes the platform's current directory; Mask "*.*", FileType [ftNormal], no glyphs.
  explicit FileListBox(Platform& platform);
  ~FileListBox();
  FileListBox(const FileListBox&) = delete;
  FileListBox& operator=(const FileListBox&) = delete;

  const std::string& Directory() const { return directory_; }
  // Changes to `path` and reads the list, unless it names the current directory. Throws
  // IoError when the directory cannot be entered; the entries stay as they were.
  void SetDirectory(const std::string& path);

  const std::string& Mask() const { return mask_; }
  // Stores a different mask and reads the list.
  void SetMask(const std::string& mask);

  TFileType FileType() const { return file_type_; }
  // Stores a different set and reads the list; every change reads once.
  void SetFileType(TFileType file_type);

  // Whether the view draws glyphs; directory entries read without it carry none.
  bool ShowGlyphs() const { return show_glyphs_; }
  void SetShowGlyphs(bool show_glyphs);

  // Reads the entries through `cache` (nullptr: none) from now on.
  void SetListingCache(ListingCache* cache) { cache_ = cache; }

  // The directory list this one follows (set by DirectoryListBox::SetFileList), or nullptr.
  DirectoryListBox* DirList() const { return dir_list_; }

  // Creates the list's window, which reads the list the first time.
  void CreateWindow();
  bool WindowCreated() const { return window_created_; }

  // Changes whenever the entries or ShowGlyphs change, and only then: a view compares it to
  // tell a new list from a moved selection without comparing the entries.
  std::uint64_t EntriesRevision() const { return entries_revision_; }

  // The entries, their number and the selection; asking creates the window.
  const std::vector<ListEntry>& Entries();
  int Count();
  // Index of the selected entry, -1 for none.
  int ItemIndex();
  // Moves the selection from code: no notification, the entries stay. An index outside the list
  // selects nothing.
  void SetItemIndex(int index);
  // The selected index as of the last change notification.
  int LastIndex() const { return last_index_; }
  // Directory joined with the selected entry's text, or empty when nothing is selected.
  std::string SelectedPath();

  // Moves the list to the directory of `path` (through the linked directory list, if any); a
  // final pattern becomes the mask, a final file name is selected. Throws IoError when a
  // directory cannot be entered, and "Invalid file name - <path>" for a missing file.
  void ApplyPath(const std::string& path);

  // The user clicks entry `index`: it is selected, OnClick goes out, then OnChange if the
  // selection differs from the one of the last notification.
  void ClickEntry(int index);

  // True while a long read shows the busy cursor.
  bool Busy() const { return busy_; }

  // OnChange after every read and every change of selection by the user or by ApplyPath;
  // OnClick on the user's click.
  Signal OnChange;
  Signal OnClick;
  // Busy() changed; the front end shows or restores the cursor at once.
  Signal BusyChanged;

 private:
  friend class DirectoryListBox;
  class BusyScope;

  void ReadFileNames();
  // The entries that Mask and FileType give in the current directory, in list order.
  std::vector<ListEntry> ListFileNames(BusyScope& busy);
  void Change();
  std::string SelectedText() const;
  std::string PathOfSelection() const;
  // Selects the entry named `name` unless it already is, with a change notification.
  void SelectFileName(const std::string& name);
  void SetBusy(bool busy);

  Platform& platform_;
  std::string directory_;
  bool case_sensitive_ = false;  // of the volume holding directory_
  std::string mask_ = "*.*";
  TFileType file_type_{ftNormal};
  bool show_glyphs_ = false;
  DirectoryListBox* dir_list_ = nullptr;
  bool window_created_ = false;
  ListingCache* cache_ = nullptr;
  SharedEntries entries_;
  std::uint64_t entries_revision_ = 0;
  int item_index_ = -1;
  int last_index_ = -1;
  bool busy_ = false;
};

}  // namespace tarvik
