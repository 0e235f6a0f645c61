#include "BrowseFixture.h"

#include "platform/ErrorCodes.h"

namespace tarvik {

std::uint32_t BrowsePlatform::LogicalDrives() {
  return FaultyPlatform::LogicalDrives() & ~hidden_drives;
}

int BrowsePlatform::VolumeInformation(const std::string& root, VolumeInfo& info) {
  volume_queries.push_back(root);
  if (!root.empty() && (unreadable_labels & DriveBit(root[0])) != 0) return kErrNotReady;
  return FaultyPlatform::VolumeInformation(root, info);
}

int BrowsePlatform::NetworkConnection(const std::string& local_name, std::string& remote_name) {
  const auto found = connections.find(local_name.empty() ? 0 : local_name[0]);
  if (found == connections.end()) {
    return FaultyPlatform::NetworkConnection(local_name, remote_name);
  }
  remote_name = found->second;
  return kNoError;
}

std::uint32_t DriveBit(char letter) {
  return std::uint32_t{1} << ((letter >= 'a' ? letter - 'a' : letter - 'A') & 31);
}

std::vector<std::string> Texts(const std::vector<ListEntry>& entries) {
  std::vector<std::string> texts;
  for (const auto& entry : entries) texts.push_back(entry.text);
  return texts;
}

BrowseTest::BrowseTest() {
  tmp_.MakeDir("c");
  tmp_.MakeDir("d");
}

void BrowseTest::Start(const std::string& current, std::vector<DriveSpec> drives) {
  if (drives.empty()) {
    drives = {TempDrive('C', tmp_.Path("c"), kDriveFixed, "System"),
              TempDrive('D', tmp_.Path("d"), kDriveCdrom, "cd_disk")};
  }
  browse_platform_ = std::make_unique<BrowsePlatform>(StartPlatform(current, std::move(drives)));
}

MainLists::MainLists(Platform& platform)
    : DriveComboBox1(platform),
      DirectoryListBox1(platform),
      FileListBox1(platform),
      FileListBox2(platform) {
  DriveComboBox1.SetTextCase(tcUpperCase);
  DriveComboBox1.SetDirList(&DirectoryListBox1);
  DirectoryListBox1.SetFileList(&FileListBox1);
  FileListBox1.SetFileType({ftReadOnly, ftHidden, ftSystem, ftArchive, ftNormal});
  FileListBox1.SetShowGlyphs(true);
  FileListBox2.SetFileType({ftDirectory});
  FileListBox1.CreateWindow();
  DriveComboBox1.OnClick.Subscribe(
      [this] { log.push_back(std::string("drive click ") + DriveComboBox1.Drive()); });
  DriveComboBox1.OnChange.Subscribe(
      [this] { log.push_back(std::string("drive change ") + DriveComboBox1.Drive()); });
  DirectoryListBox1.OnChange.Subscribe([this] {
    log.push_back("dir change " + DirectoryListBox1.Directory() + " files in " +
                  FileListBox1.Directory());
    FileListBox2.ApplyPath(DirectoryListBox1.Directory());
  });
  FileListBox1.OnChange.Subscribe(
      [this] { log.push_back("files change " + FileListBox1.Directory()); });
  FileListBox1.OnClick.Subscribe([this] { log.push_back("files click"); });
}

}  // namespace tarvik
