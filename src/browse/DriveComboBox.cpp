#include "browse/DriveComboBox.h"

#include "browse/DirectoryListBox.h"
#include "platform/ErrorCodes.h"
#include "util/Path.h"
#include "util/Text.h"

namespace tarvik {

namespace {

// A label or remote name takes the case of the letter it is shown with.
std::string InLetterCase(std::string text, char letter) {
  if (static_cast<unsigned char>(letter) > 96) {
    LowerCase1251(text);
  } else {
    UpperCase1251(text);
  }
  return text;
}

}  // namespace

DriveComboBox::DriveComboBox(Platform& platform) : platform_(platform) {
  const std::string current = platform_.CurrentDirectory();
  const char drive = current.empty() || current.front() == '\\' ? 0 : current.front();
  Fill();
  SetDrive(drive);
}

DriveComboBox::~DriveComboBox() { SetDirList(nullptr); }

void DriveComboBox::SetDrive(char drive) {
  if (item_index_ >= 0 && UpCaseDrive(drive) == UpCaseDrive(drive_)) return;
  if (drive != 0) {
    drive_ = UpCaseDrive(drive);
    if (text_case_ == tcLowerCase && drive_ >= 'A' && drive_ <= 'Z') {
      drive_ = static_cast<char>(drive_ + 32);
    }
    const int index = IndexOf(drive_);
    if (index >= 0) item_index_ = index;
  } else {
    drive_ = 0;
    item_index_ = -1;
  }
  StateChanged();
  if (dir_list_ != nullptr) dir_list_->DriveChange(drive_);
  OnChange();
}

void DriveComboBox::SetTextCase(TTextCase text_case) {
  text_case_ = text_case;
  const char drive = drive_;
  Fill();
  SetDrive(drive);
}

void DriveComboBox::SetDirList(DirectoryListBox* dir_list) {
  if (dir_list_ != nullptr) dir_list_->drive_combo_ = nullptr;
  dir_list_ = dir_list;
  if (dir_list_ == nullptr) return;
  if (dir_list_->drive_combo_ != nullptr && dir_list_->drive_combo_ != this) {
    dir_list_->drive_combo_->dir_list_ = nullptr;
  }
  dir_list_->drive_combo_ = this;
}

void DriveComboBox::PickEntry(int index) {
  if (index < 0 || index >= Count()) return;
  const char drive = entries_[index].text.front();
  OnClick();
  SetDrive(drive);
  OnChange();
}

void DriveComboBox::Refill() {
  const char drive = drive_;
  Fill();
  item_index_ = IndexOf(drive);
  if (item_index_ < 0) PickEntry(IndexOf('C'));
}

int DriveComboBox::IndexOf(char drive) const {
  for (int i = 0; i < Count(); ++i) {
    const std::string& text = entries_[i].text;
    if (text.size() >= 2 && UpCaseDrive(text[0]) == UpCaseDrive(drive) && text[1] == ':') {
      return i;
    }
  }
  return -1;
}

void DriveComboBox::Fill() {
  entries_.clear();
  item_index_ = -1;
  const std::uint32_t drives = platform_.LogicalDrives();
  for (int i = 0; i < 26; ++i) {
    if ((drives & (std::uint32_t{1} << i)) == 0) continue;
    char letter = static_cast<char>('a' + i);
    const unsigned type = platform_.DriveType(std::string(1, letter) + ":\\");
    if (text_case_ == tcUpperCase) letter = UpCaseDrive(letter);
    const std::string name = std::string(1, letter) + ":";
    switch (type) {
      case kDriveRemovable:
        // Asking a removable drive for its label would wait for, or complain about, the medium.
        entries_.push_back({name, Glyph::kFloppy});
        break;
      case kDriveFixed:
        entries_.push_back({name + " " + VolumeText(letter), Glyph::kHard});
        break;
      case kDriveRemote:
        entries_.push_back({name + " " + NetworkText(letter), Glyph::kNetwork});
        break;
      case kDriveCdrom:
        entries_.push_back({name + " " + VolumeText(letter), Glyph::kCdrom});
        break;
      case kDriveRamDisk:
        entries_.push_back({name + " " + VolumeText(letter), Glyph::kRam});
        break;
      default:
        break;
    }
  }
  StateChanged();
}

std::string DriveComboBox::VolumeText(char letter) {
  VolumeInfo info;
  std::string label;
  if (platform_.VolumeInformation(std::string(1, letter) + ":\\", info) == kNoError) {
    label = info.label;
  }
  return "[" + InLetterCase(label, letter) + "]";
}

std::string DriveComboBox::NetworkText(char letter) {
  std::string remote;
  if (platform_.NetworkConnection(std::string(1, UpCaseDrive(letter)) + ":", remote) != kNoError) {
    return VolumeText(letter);
  }
  return InLetterCase(remote, letter);
}

}  // namespace tarvik
