#include <gtest/gtest.h>
#include <poll.h>

#include <algorithm>
#include <optional>

#include "BrowseFixture.h"
#include "platform/IoError.h"
#include "support/PrivateMountNamespace.h"
#include "support/ScopedMount.h"

namespace tarvik {
namespace {

// A: removable, C: fixed, D: CD-ROM, E: fixed without label, F: fixed but its medium is gone,
// K: and L: of types the list leaves out, R: RAM disk, Z: remote.
class DriveComboBoxTest : public BrowseTest {
 protected:
  void SetUp() override {
    for (const char* dir : {"a", "e", "k", "l", "r", "z", "c/WORK"}) tmp_.MakeDir(dir);
    Start("C:\\WORK", {TempDrive('A', tmp_.Path("a"), kDriveRemovable, "floppy"),
                       TempDrive('C', tmp_.Path("c"), kDriveFixed, "System Диск"),
                       TempDrive('D', tmp_.Path("d"), kDriveCdrom, "cd_disk"),
                       TempDrive('E', tmp_.Path("e"), kDriveFixed, ""),
                       TempDrive('F', tmp_.Path("gone"), kDriveFixed, "gone"),
                       TempDrive('K', tmp_.Path("k"), kDriveUnknown, "k"),
                       TempDrive('L', tmp_.Path("l"), kDriveNoRootDir, "l"),
                       TempDrive('R', tmp_.Path("r"), kDriveRamDisk, "ramdisk"),
                       TempDrive('Z', tmp_.Path("z"), kDriveRemote, "zvol")});
  }

  static int IndexOf(const DriveComboBox& drives, char letter) {
    const auto& entries = drives.Entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
      if (entries[i].text[0] == letter) return static_cast<int>(i);
    }
    return -1;
  }
};

TEST_F(DriveComboBoxTest, ListsDrivesByTypeInEitherCase) {
  platform().connections['Z'] = "\\\\Server\\Share";
  DriveComboBox drives(platform());
  const std::vector<ListEntry> lower = {{"a:", Glyph::kFloppy},
                                        {"c: [system диск]", Glyph::kHard},
                                        {"d: [cd_disk]", Glyph::kCdrom},
                                        {"e: []", Glyph::kHard},
                                        {"f: []", Glyph::kHard},
                                        {"r: [ramdisk]", Glyph::kRam},
                                        {"z: \\\\server\\share", Glyph::kNetwork}};
  EXPECT_EQ(drives.Entries(), lower);
  drives.SetTextCase(tcUpperCase);
  EXPECT_EQ(Texts(drives.Entries()),
            (std::vector<std::string>{"A:", "C: [SYSTEM ДИСК]", "D: [CD_DISK]", "E: []", "F: []",
                                      "R: [RAMDISK]", "Z: \\\\SERVER\\SHARE"}));
}

TEST_F(DriveComboBoxTest, FallsBackToTheVolumeTextAndNeverAsksARemovableDrive) {
  platform().unreadable_labels = DriveBit('D');
  DriveComboBox drives(platform());
  drives.SetTextCase(tcUpperCase);
  const auto texts = Texts(drives.Entries());
  EXPECT_EQ(texts[IndexOf(drives, 'Z')], "Z: [ZVOL]");
  EXPECT_EQ(texts[IndexOf(drives, 'D')], "D: []");
  for (const auto& root : platform().volume_queries) EXPECT_NE(root[0] | 0x20, 'a') << root;
}

TEST_F(DriveComboBoxTest, StartsOnTheCurrentDriveInItsTextCase) {
  DriveComboBox drives(platform());
  EXPECT_EQ(drives.Drive(), 'c');
  EXPECT_EQ(drives.ItemIndex(), IndexOf(drives, 'c'));
  drives.SetTextCase(tcUpperCase);
  EXPECT_EQ(drives.Drive(), 'C');
  EXPECT_EQ(drives.ItemIndex(), IndexOf(drives, 'C'));
}

TEST_F(DriveComboBoxTest, SettingTheCurrentDriveSendsNothing) {
  MainLists lists(platform());
  int state_changes = 0;
  lists.DriveComboBox1.StateChanged.Subscribe([&] { ++state_changes; });
  lists.DriveComboBox1.SetDrive('C');
  lists.DriveComboBox1.SetDrive('c');
  EXPECT_TRUE(lists.log.empty());
  EXPECT_EQ(state_changes, 0);
}

TEST_F(DriveComboBoxTest, PickFiresTheHandlerThreeTimesAfterTheListsMoved) {
  MainLists lists(platform());
  lists.DriveComboBox1.PickEntry(IndexOf(lists.DriveComboBox1, 'D'));
  EXPECT_EQ(lists.log, (std::vector<std::string>{"drive click C", "files change D:\\",
                                                 "dir change D:\\ files in D:\\", "drive change D",
                                                 "drive change D"}));
  EXPECT_EQ(lists.DriveComboBox1.ItemIndex(), IndexOf(lists.DriveComboBox1, 'D'));
  EXPECT_EQ(lists.FileListBox2.Directory(), "D:\\");
  EXPECT_EQ(platform().CurrentDirectory(), "D:\\");
}

TEST_F(DriveComboBoxTest, EachDriveKeepsItsLastDirectory) {
  tmp_.MakeDir("d/CDDIR");
  MainLists lists(platform());
  lists.DirectoryListBox1.SetDirectory("D:\\CDDIR");
  lists.DriveComboBox1.PickEntry(IndexOf(lists.DriveComboBox1, 'C'));
  EXPECT_EQ(lists.DirectoryListBox1.Directory(), "C:\\WORK");
  lists.DriveComboBox1.SetDrive('d');
  EXPECT_EQ(lists.DirectoryListBox1.Directory(), "D:\\CDDIR");
  EXPECT_EQ(lists.DriveComboBox1.Drive(), 'D');
}

TEST_F(DriveComboBoxTest, DriveThatIsNotReadyMovesOnlyTheDriveList) {
  MainLists lists(platform());
  const int index = IndexOf(lists.DriveComboBox1, 'F');
  try {
    lists.DriveComboBox1.PickEntry(index);
    FAIL() << "no error";
  } catch (const IoError& error) {
    EXPECT_NE(error.code(), kNoError);
  }
  EXPECT_EQ(lists.DriveComboBox1.Drive(), 'F');
  EXPECT_EQ(lists.DriveComboBox1.ItemIndex(), index);
  EXPECT_EQ(lists.DirectoryListBox1.Directory(), "C:\\WORK");
  EXPECT_EQ(lists.FileListBox1.Directory(), "C:\\WORK");
  EXPECT_EQ(lists.log, std::vector<std::string>{"drive click C"});
  EXPECT_EQ(platform().CurrentDirectory(), "C:\\WORK");
}

TEST_F(DriveComboBoxTest, NewDriveShowsAfterTheTextCaseRoundTrip) {
  tmp_.MakeDir("n");
  Start("C:\\", {TempDrive('C', tmp_.Path("c"), kDriveFixed, "System"),
                 TempDrive('N', tmp_.Path("n"), kDriveRemote, "n")});
  platform().hidden_drives = DriveBit('N');
  MainLists lists(platform());
  const int old_index = lists.DriveComboBox1.ItemIndex();
  platform().hidden_drives = 0;
  platform().connections['N'] = "\\\\srv\\new";
  lists.DriveComboBox1.SetDrive('N');
  EXPECT_EQ(lists.DriveComboBox1.ItemIndex(), old_index);
  EXPECT_EQ(lists.DirectoryListBox1.Directory(), "N:\\");
  lists.DriveComboBox1.SetTextCase(tcLowerCase);
  EXPECT_EQ(lists.DriveComboBox1.Drive(), 'n');
  lists.DriveComboBox1.SetTextCase(tcUpperCase);
  EXPECT_EQ(lists.DriveComboBox1.Drive(), 'N');
  EXPECT_EQ(lists.DriveComboBox1.Entries()[lists.DriveComboBox1.ItemIndex()].text,
            "N: \\\\SRV\\NEW");
  EXPECT_EQ(lists.log,
            (std::vector<std::string>{"files change N:\\", "dir change N:\\ files in N:\\",
                                      "drive change N", "drive change n", "drive change N"}));
}

// RAM disks mounted and unmounted below m/ in the test's own mount namespace; the list is
// refilled whenever the platform's watch reports a change.
TEST_F(DriveComboBoxTest, FollowsVolumesThatComeAndGo) {
  ASSERT_EQ(EnterPrivateMountNamespace(), 0);
  for (const char* dir : {"m/0", "m/1"}) tmp_.MakeDir(dir);
  Start("C:\\", {TempDrive('C', tmp_.Path("c"), kDriveFixed, "System")});
  platform_->FollowMountsBelow(tmp_.Path("m"));
  MainLists lists(platform());
  pollfd watch{platform_->DriveWatchDescriptor(), POLLIN, 0};
  std::optional<ScopedMount> mounts[2];
  const struct {
    int toggled;  // m/0 or m/1: mounted, or unmounted when it is
    const char* letters;
    char current;
    std::size_t events;  // of the lists, then the drive picked
    char pick;
  } steps[] = {
      {0, "C:D:", 'C', 0, 'D'},
      {1, "C:D:E:", 'D', 0, 0},
      {0, "C:E:", 'C', 5, 0},    // the current drive is gone: C: is picked
      {0, "C:D:E:", 'C', 0, 0},  // mounted again, with its old letter
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.letters);
    std::optional<ScopedMount>& mount = mounts[step.toggled];
    if (mount) {
      mount.reset();
    } else {
      ASSERT_TRUE(mount.emplace(tmp_.Path("m/" + std::to_string(step.toggled))).mounted());
    }
    ASSERT_EQ(poll(&watch, 1, 10000), 1);
    ASSERT_TRUE(platform_->DrivesChanged());
    lists.log.clear();
    lists.DriveComboBox1.Refill();
    std::string letters;
    for (const ListEntry& entry : lists.DriveComboBox1.Entries())
      letters += entry.text.substr(0, 2);
    EXPECT_EQ(letters, step.letters);
    EXPECT_EQ(lists.DriveComboBox1.Entries()[lists.DriveComboBox1.ItemIndex()].text[0],
              step.current);
    EXPECT_EQ(lists.log.size(), step.events);
    if (step.pick != 0) lists.DriveComboBox1.PickEntry(IndexOf(lists.DriveComboBox1, step.pick));
  }
}

}  // namespace
}  // namespace tarvik
