#include <gtest/gtest.h>

#include "BrowseFixture.h"
#include "platform/IoError.h"

namespace tarvik {
namespace {

// C:\A\B holds visible, hidden, system (a link to a directory), read-only and case-twin
// subdirectories and a file.
class DirectoryListBoxTest : public BrowseTest {
 protected:
  void SetUp() override {
    for (const char* dir : {"c/A/B/b2", "c/A/B/A2/deep", "c/A/B/.h", "c/A/B/ro", "c/A/B/Twin",
                            "c/A/B/twin", "c/Zed", "c/.hidden", "d/CDDIR"}) {
      tmp_.MakeDir(dir);
    }
    tmp_.MakeSymlink("c/A/B/link", tmp_.Path("c/A"));
    tmp_.MakeFile("c/A/B/f.txt");
    tmp_.Chmod("c/A/B/ro", 0555);
  }

  void StartWithFlags(std::uint32_t flags, const std::string& current) {
    Start(current, {TempDrive('C', tmp_.Path("c"), kDriveFixed, "System", flags),
                    TempDrive('D', tmp_.Path("d"), kDriveCdrom, "cd_disk", flags)});
  }
};

TEST_F(DirectoryListBoxTest, PathLevelsThenVisibleSubdirectories) {
  StartWithFlags(kPosixVolumeFlags, "C:\\A\\B");
  DirectoryListBox dirs(platform());
  const std::vector<ListEntry> expected = {
      {"C:\\", Glyph::kOpenFolder},   {"A", Glyph::kOpenFolder},     {"B", Glyph::kCurrentFolder},
      {"A2", Glyph::kClosedFolder},   {"b2", Glyph::kClosedFolder},  {"ro", Glyph::kClosedFolder},
      {"Twin", Glyph::kClosedFolder}, {"twin", Glyph::kClosedFolder}};
  EXPECT_EQ(dirs.Entries(), expected);
  EXPECT_EQ(dirs.CurrentIndex(), 2);
  EXPECT_EQ(dirs.ItemIndex(), 2);
  EXPECT_EQ(dirs.Count(), 8);
}

TEST_F(DirectoryListBoxTest, RootHasOneCurrentLevel) {
  StartWithFlags(kPosixVolumeFlags, "C:\\");
  DirectoryListBox dirs(platform());
  const std::vector<ListEntry> expected = {
      {"C:\\", Glyph::kCurrentFolder}, {"A", Glyph::kClosedFolder}, {"Zed", Glyph::kClosedFolder}};
  EXPECT_EQ(dirs.Entries(), expected);
  EXPECT_EQ(dirs.CurrentIndex(), 0);
  EXPECT_EQ(dirs.EntryPath(0), "C:\\");
  EXPECT_EQ(dirs.EntryPath(1), "C:\\A");
  EXPECT_EQ(dirs.Indent(1), 4 * 1 + 6);
}

TEST_F(DirectoryListBoxTest, VolumeCaseDecidesTwinsAndDisplayedCase) {
  struct Case {
    std::uint32_t flags;
    bool preserving, sensitive;
    std::vector<std::string> subdirectories;
    std::string root_display, twin_display;
  };
  const Case cases[] = {
      {kPosixVolumeFlags, true, true, {"A2", "b2", "ro", "Twin", "twin"}, "C:\\", "Twin"},
      {kVolumeCaseSensitiveSearch, true, true, {"A2", "b2", "ro", "Twin", "twin"}, "C:\\", "Twin"},
      {kVolumeCasePreservedNames, true, false, {"A2", "b2", "ro", "Twin"}, "C:\\", "Twin"},
      {0, false, false, {"A2", "b2", "ro", "Twin"}, "c:\\", "twin"},
  };
  for (const auto& c : cases) {
    StartWithFlags(c.flags, "C:\\A\\B");
    DirectoryListBox dirs(platform());
    EXPECT_EQ(dirs.CasePreserving(), c.preserving) << c.flags;
    EXPECT_EQ(dirs.CaseSensitive(), c.sensitive) << c.flags;
    const auto texts = Texts(dirs.Entries());
    EXPECT_EQ(std::vector<std::string>(texts.begin() + 3, texts.end()), c.subdirectories)
        << c.flags;
    EXPECT_EQ(dirs.DisplayText(0), c.root_display) << c.flags;
    EXPECT_EQ(dirs.DisplayText(6), c.twin_display) << c.flags;
  }
}

TEST_F(DirectoryListBoxTest, IndentsAndEntryPaths) {
  StartWithFlags(kPosixVolumeFlags, "C:\\A\\B\\A2");
  DirectoryListBox dirs(platform());
  ASSERT_EQ(Texts(dirs.Entries()), (std::vector<std::string>{"C:\\", "A", "B", "A2", "deep"}));
  const std::pair<int, std::string> expected[] = {{2, "C:\\"},
                                                  {6, "C:\\A"},
                                                  {10, "C:\\A\\B"},
                                                  {14, "C:\\A\\B\\A2"},
                                                  {4 * 3 + 6, "C:\\A\\B\\A2\\deep"}};
  for (int i = 0; i < dirs.Count(); ++i) {
    EXPECT_EQ(dirs.Indent(i), expected[i].first) << i;
    EXPECT_EQ(dirs.EntryPath(i), expected[i].second) << i;
  }
}

TEST_F(DirectoryListBoxTest, OpeningAnEntryGoesToItsPath) {
  StartWithFlags(kPosixVolumeFlags, "C:\\A\\B");
  DirectoryListBox dirs(platform());
  const std::pair<int, std::string> steps[] = {
      {6, "C:\\A\\B\\Twin"}, {1, "C:\\A"}, {2, "C:\\A\\B"}, {0, "C:\\"}, {1, "C:\\A"}};
  for (const auto& [index, directory] : steps) {
    dirs.OpenEntry(index);
    EXPECT_EQ(dirs.Directory(), directory);
    EXPECT_EQ(dirs.ItemIndex(), dirs.CurrentIndex());
    EXPECT_EQ(platform().CurrentDirectory(), directory);
  }
}

TEST_F(DirectoryListBoxTest, PathFormsThatTheSetterAccepts) {
  StartWithFlags(kPosixVolumeFlags, "C:\\A\\B");
  DirectoryListBox dirs(platform());
  const std::pair<std::string, std::string> cases[] = {
      {"A2", "C:\\A\\B\\A2"}, {"C:\\A\\B\\A2\\", "C:\\A\\B\\A2"}, {"..", "C:\\A"},
      {"\\A", "C:\\A"},       {"[A2]", "C:\\A\\B\\A2"},           {"D:\\CDDIR", "D:\\CDDIR"},
      {"d:", "D:\\CDDIR"},
  };
  for (const auto& [path, directory] : cases) {
    dirs.SetDirectory("C:\\A\\B");
    dirs.SetDirectory(path);
    EXPECT_EQ(dirs.Directory(), directory) << path;
    EXPECT_EQ(platform().CurrentDirectory(), directory) << path;
  }
}

TEST_F(DirectoryListBoxTest, SameDirectoryCostsNothing) {
  struct Case {
    std::uint32_t flags;
    std::string path;
  };
  const Case cases[] = {{kPosixVolumeFlags, "C:\\A\\B"}, {kPosixVolumeFlags, ""}, {0, "c:\\a\\b"}};
  for (const auto& c : cases) {
    StartWithFlags(c.flags, "C:\\A\\B");
    DirectoryListBox dirs(platform());
    int events = 0;
    dirs.OnChange.Subscribe([&] { ++events; });
    dirs.StateChanged.Subscribe([&] { ++events; });
    const int finds = platform().FindCalls();
    dirs.SetDirectory(c.path);
    EXPECT_EQ(platform().FindCalls(), finds) << c.path;
    EXPECT_EQ(events, 0) << c.path;
  }
}

TEST_F(DirectoryListBoxTest, CaseTwinIsAnotherDirectoryOnCaseSensitiveVolume) {
  StartWithFlags(kPosixVolumeFlags, "C:\\A\\B\\Twin");
  DirectoryListBox dirs(platform());
  int events = 0;
  dirs.OnChange.Subscribe([&] { ++events; });
  dirs.SetDirectory("C:\\A\\B\\twin");
  EXPECT_EQ(dirs.Directory(), "C:\\A\\B\\twin");
  EXPECT_EQ(events, 1);
}

TEST_F(DirectoryListBoxTest, DirectoryThatCannotBeEnteredChangesNothing) {
  StartWithFlags(kPosixVolumeFlags, "C:\\A\\B");
  DirectoryListBox dirs(platform());
  const auto entries = dirs.Entries();
  int events = 0;
  dirs.OnChange.Subscribe([&] { ++events; });
  tmp_.Remove("c/A/B/A2");  // gone since the list was filled
  EXPECT_THROW(dirs.OpenEntry(3), IoError);
  EXPECT_THROW(dirs.SetDirectory("C:\\A\\missing"), IoError);
  EXPECT_THROW(dirs.SetDirectory("C:\\A\\B\\f.txt\\x"), IoError);
  // Root enters any directory, so a refusal comes from the decorator.
  platform().Fail(PlatformCall::kSetCurrentDirectory, "ro", 1, kErrAccessDenied);
  try {
    dirs.OpenEntry(5);
    FAIL() << "no error";
  } catch (const IoError& error) {
    EXPECT_STREQ(error.what(), "File access denied");
  }
  EXPECT_EQ(dirs.Directory(), "C:\\A\\B");
  EXPECT_EQ(dirs.Entries(), entries);
  EXPECT_EQ(events, 0);
  EXPECT_EQ(platform().CurrentDirectory(), "C:\\A\\B");
}

TEST_F(DirectoryListBoxTest, OtherDriveWithoutDriveListFillsOnce) {
  StartWithFlags(kPosixVolumeFlags, "C:\\A");
  DirectoryListBox dirs(platform());
  int fills = 0;
  int changes = 0;
  dirs.StateChanged.Subscribe([&] { ++fills; });
  dirs.OnChange.Subscribe([&] { ++changes; });
  dirs.SetDirectory("D:\\CDDIR");
  EXPECT_EQ(dirs.Directory(), "D:\\CDDIR");
  EXPECT_EQ(fills, 1);
  EXPECT_EQ(changes, 1);
}

}  // namespace
}  // namespace tarvik
