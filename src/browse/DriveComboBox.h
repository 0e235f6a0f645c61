#pragma once

#include <string>
#include <utility>
#include <vector>

#include "browse/Glyph.h"
#include "browse/ListControl.h"
#include "platform/Platform.h"
#include "util/Signal.h"

namespace tarvik {

class DirectoryListBox;

enum TTextCase { tcLowerCase, tcUpperCase };

// The drive list: one entry per drive in letter order ("C: [SYSTEM]", "A:", "Z: \\SERVER\SHARE"),
// the current drive selected. A new drive moves the linked directory list before OnChange goes
// out. The list is filled when it is made, whenever TextCase is set and by Refill.
class DriveComboBox : public ListControl {
 public:
  // Takes the drive of the platform's current directory (none for a network path), fills the
  // list and selects that drive.
  explicit DriveComboBox(Platform& platform);
  ~DriveComboBox();
  DriveComboBox(const DriveComboBox&) = delete;
  DriveComboBox& operator=(const DriveComboBox&) = delete;

  // The current drive letter in the case of TextCase, or 0 for none.
  char Drive() const { return drive_; }
  // Makes `drive` current (0 for none) and selects its entry if the list has one; moves the
  // linked directory list, then sends OnChange. Setting the drive that is already current while
  // an entry is selected does nothing at all. Throws IoError when the directory list cannot
  // change to the drive; the new drive stays current and selected.
  void SetDrive(char drive);

  TTextCase TextCase() const { return text_case_; }
  // Stores the case, refills the list and makes the same drive current again, which always moves
  // the linked directory list and sends OnChange. Refills the list after drives came or went.
  void SetTextCase(TTextCase text_case);

  DirectoryListBox* DirList() const { return dir_list_; }
  // Links (or, with nullptr, unlinks) the directory list that follows the drive.
  void SetDirList(DirectoryListBox* dir_list);

  // Texts are shown literally, on one line: "&" marks no accelerator.
  const std::vector<ListEntry>& Entries() const { return entries_; }
  int Count() const { return static_cast<int>(entries_.size()); }
  // Index of the selected entry, -1 for none.
  int ItemIndex() const { return item_index_; }

  // The user picks entry `index`: OnClick while Drive still holds the old letter, then SetDrive
  // with the entry's first character, then OnChange once more.
  void PickEntry(int index);

  // Fills the list again after drives came or went. The current drive stays current and
  // selected, and nothing else moves or is told; when it is gone, C: is picked as the user
  // would pick it. Throws IoError as SetDrive does.
  void Refill();

  // Fired where the drive list's behaviour sends them; the main window's handlers subscribe.
  Signal OnChange;
  Signal OnClick;

 private:
  void Fill();
  // The index of the entry of a drive letter, -1 when the list has none.
  int IndexOf(char drive) const;
  std::string VolumeText(char letter);
  std::string NetworkText(char letter);

  Platform& platform_;
  char drive_ = 0;
  TTextCase text_case_ = tcLowerCase;
  DirectoryListBox* dir_list_ = nullptr;
  std::vector<ListEntry> entries_;
  int item_index_ = -1;
};

}  // namespace tarvik
