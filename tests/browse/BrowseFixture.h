#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "RecordingPlatform.h"
#include "browse/DirectoryListBox.h"
#include "browse/DriveComboBox.h"
#include "browse/FileListBox.h"
#include "platform/posix/PosixPlatform.h"
#include "support/TempDir.h"

namespace tarvik {

inline constexpr std::uint32_t kPosixFlags = kVolumeCaseSensitiveSearch | kVolumeCasePreservedNames;

std::uint32_t DriveBit(char letter);
std::vector<std::string> Texts(const std::vector<ListEntry>& entries);

// Real directories under one temporary directory: "c" is drive C: (fixed, labelled "System"),
// "d" is D: (CD-ROM, "cd_disk"). Tests build their trees, then Start the platform.
class BrowseTest : public ::testing::Test {
 protected:
  BrowseTest();

  // Builds the platform over `drives` (the two above when empty) with `current` current.
  void Start(const std::string& current = "C:\\", std::vector<DriveSpec> drives = {});

  RecordingPlatform& platform() { return *platform_; }

  TempDir tmp_;

 private:
  std::unique_ptr<PosixPlatform> posix_;
  std::unique_ptr<RecordingPlatform> platform_;
};

// The main window's four lists, linked and set up as it sets them up, with its handlers reduced
// to a log of the events in the order they arrive. DirectoryListBox1Change moves FileListBox2.
struct MainLists {
  explicit MainLists(Platform& platform);

  DriveComboBox DriveComboBox1;
  DirectoryListBox DirectoryListBox1;
  FileListBox FileListBox1;
  FileListBox FileListBox2;
  std::vector<std::string> log;
};

}  // namespace tarvik
