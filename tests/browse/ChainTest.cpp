#include <gtest/gtest.h>

#include "BrowseFixture.h"

namespace tarvik {
namespace {

class ChainTest : public BrowseTest {
 protected:
  void SetUp() override {
    tmp_.MakeDir("c/W/sub");
    tmp_.MakeFile("c/W/plain.txt");
    tmp_.MakeDir("d/CDDIR");
    Start("C:\\");
  }
};

TEST_F(ChainTest, EveryListShowsTheNewDirectoryBeforeTheSetterReturns) {
  MainLists lists(platform());
  lists.DirectoryListBox1.SetDirectory("C:\\W");
  EXPECT_EQ(lists.log,
            (std::vector<std::string>{"files change C:\\W", "dir change C:\\W files in C:\\W"}));
  EXPECT_EQ(lists.FileListBox2.Directory(), "C:\\W");
  EXPECT_EQ(Texts(lists.FileListBox1.Entries()), std::vector<std::string>{"plain.txt"});
  EXPECT_EQ(platform().CurrentDirectory(), "C:\\W");
}

TEST_F(ChainTest, SubdirectoryListFollowsButReadsOnlyWhenAsked) {
  MainLists lists(platform());
  lists.DirectoryListBox1.SetDirectory("C:\\W\\sub");
  lists.DirectoryListBox1.SetDirectory("C:\\W");
  EXPECT_FALSE(lists.FileListBox2.WindowCreated());
  const int finds = platform().FindCalls();
  EXPECT_EQ(Texts(lists.FileListBox2.Entries()),
            (std::vector<std::string>{"[..]", "[.]", "[sub]"}));
  EXPECT_EQ(platform().FindCalls(), finds + 1);
  lists.DirectoryListBox1.SetDirectory("C:\\W\\sub");
  EXPECT_EQ(Texts(lists.FileListBox2.Entries()), (std::vector<std::string>{"[..]", "[.]"}));
}

TEST_F(ChainTest, DirectoryOnAnotherDriveMovesTheDriveListFirstAndFillsOnce) {
  MainLists lists(platform());
  std::string shown_at_drive_change;
  lists.DriveComboBox1.OnChange.Subscribe(
      [&] { shown_at_drive_change = lists.DirectoryListBox1.Entries()[0].text; });
  int fills = 0;
  lists.DirectoryListBox1.StateChanged.Subscribe([&] { ++fills; });
  lists.DirectoryListBox1.SetDirectory("D:\\CDDIR");
  EXPECT_EQ(lists.log, (std::vector<std::string>{"drive change D", "files change D:\\CDDIR",
                                                 "dir change D:\\CDDIR files in D:\\CDDIR"}));
  EXPECT_EQ(shown_at_drive_change, "C:\\");
  EXPECT_EQ(fills, 1);
  EXPECT_EQ(lists.DriveComboBox1.Drive(), 'D');
}

TEST_F(ChainTest, ApplyPathThroughTheDirectoryListSelectsTheFile) {
  MainLists lists(platform());
  lists.FileListBox1.ApplyPath("C:\\W\\plain.txt");
  EXPECT_EQ(lists.log,
            (std::vector<std::string>{"files change C:\\W", "dir change C:\\W files in C:\\W",
                                      "files change C:\\W"}));
  EXPECT_EQ(lists.DirectoryListBox1.Directory(), "C:\\W");
  EXPECT_EQ(lists.FileListBox1.SelectedPath(), "C:\\W\\plain.txt");
}

TEST_F(ChainTest, UnlinkingOnDestructionLeavesNoDanglingLink) {
  DriveComboBox drives(platform());
  FileListBox files(platform());
  {
    DirectoryListBox dirs(platform());
    drives.SetDirList(&dirs);
    dirs.SetFileList(&files);
    EXPECT_EQ(dirs.DriveCombo(), &drives);
    EXPECT_EQ(files.DirList(), &dirs);
  }
  EXPECT_EQ(drives.DirList(), nullptr);
  EXPECT_EQ(files.DirList(), nullptr);
  drives.SetDrive('D');
  EXPECT_EQ(drives.Drive(), 'd');
}

}  // namespace
}  // namespace tarvik
