#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "browse/DirectoryListBox.h"
#include "browse/DriveComboBox.h"
#include "browse/FileListBox.h"
#include "support/FaultyPlatform.h"
#include "support/TempDriveTest.h"

namespace tarvik {

std::uint32_t DriveBit(char letter);
std::vector<std::string> Texts(const std::vector<ListEntry>& entries);

// Adds to the fault decorator what a fixed drive table cannot give: drives that appear later
// (hidden until then), network connections and drives whose label cannot be read; and it
// records which roots were asked for their volume information.
class BrowsePlatform : public FaultyPlatform {
 public:
  using FaultyPlatform::FaultyPlatform;

  std::uint32_t hidden_drives = 0;          // bit i hides 'A' + i from LogicalDrives
  std::map<char, std::string> connections;  // upper-case letter -> remote name
  std::uint32_t unreadable_labels = 0;      // bit i fails VolumeInformation of 'A' + i
  std::vector<std::string> volume_queries;

  int FindCalls() const { return Calls(PlatformCall::kFindFiles, kAnyPath); }

  std::uint32_t LogicalDrives() override;
  int VolumeInformation(const std::string& root, VolumeInfo& info) override;
  int NetworkConnection(const std::string& local_name, std::string& remote_name) override;
};

// Real directories under one temporary directory: "c" is drive C: (fixed, labelled "System"),
// "d" is D: (CD-ROM, "cd_disk"). Tests build their trees, then Start the platform.
class BrowseTest : public TempDriveTest<> {
 protected:
  BrowseTest();

  // Builds the platform over `drives` (the two above when empty) with `current` current.
  void Start(const std::string& current = "C:\\", std::vector<DriveSpec> drives = {});

  BrowsePlatform& platform() { return *browse_platform_; }

 private:
  std::unique_ptr<BrowsePlatform> browse_platform_;
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
