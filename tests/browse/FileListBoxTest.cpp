#include <gtest/gtest.h>

#include <set>

#include "BrowseFixture.h"
#include "platform/IoError.h"

namespace tarvik {
namespace {

// C:\W holds a plain file, a read-only one, hidden ones, visible, hidden, system, read-only and
// case-twin subdirectories.
class FileListBoxTest : public BrowseTest {
 protected:
  void SetUp() override {
    for (const char* dir : {"c/W/sub", "c/W/.hsub", "c/W/rosub", "c/W/Twin", "c/W/twin"}) {
      tmp_.MakeDir(dir);
    }
    for (const char* file : {"c/W/plain.txt", "c/W/ro.txt", "c/W/.hid", "c/W/.hidro"}) {
      tmp_.MakeFile(file);
    }
    tmp_.MakeSymlink("c/W/sys", tmp_.Path("c"));
    tmp_.Chmod("c/W/ro.txt", 0444);
    tmp_.Chmod("c/W/.hidro", 0444);
    tmp_.Chmod("c/W/rosub", 0555);
    Start("C:\\W");
  }

  // A list in C:\W with its window, counting its events.
  std::unique_ptr<FileListBox> MakeList(TFileType type = {ftNormal}) {
    auto list = std::make_unique<FileListBox>(platform());
    list->SetFileType(type);
    list->CreateWindow();
    list->OnChange.Subscribe([this] { events_.push_back("change"); });
    list->OnClick.Subscribe([this] { events_.push_back("click"); });
    return list;
  }

  std::vector<std::string> events_;
};

TEST_F(FileListBoxTest, EveryCombinationOfTheFiveAttributeBoxes) {
  struct File {
    std::string name;
    bool read_only, hidden;
  };
  const File files[] = {{"plain.txt", false, false},
                        {"ro.txt", true, false},
                        {".hid", false, true},
                        {".hidro", true, true}};
  const TFileAttr boxes[] = {ftReadOnly, ftHidden, ftSystem, ftArchive, ftNormal};
  for (int ticked = 0; ticked < 32; ++ticked) {
    TFileType type;
    for (int box = 0; box < 5; ++box) {
      if ((ticked & (1 << box)) != 0) type.Include(boxes[box]);
    }
    // Hidden files need the Hidden box; with Normal every other file passes, without it a file
    // needs one ticked attribute among read-only, hidden, system and archive.
    std::multiset<std::string> expected;
    for (const File& file : files) {
      if (file.hidden && !type.Contains(ftHidden)) continue;
      if (type.Contains(ftNormal) || (file.read_only && type.Contains(ftReadOnly)) ||
          (file.hidden && type.Contains(ftHidden))) {
        expected.insert(file.name);
      }
    }
    auto list = MakeList(type);
    const auto texts = Texts(list->Entries());
    EXPECT_EQ(std::multiset<std::string>(texts.begin(), texts.end()), expected) << ticked;
  }
}

TEST_F(FileListBoxTest, SubdirectoryListHasDotEntriesBelowTheRootOnly) {
  auto list = MakeList({ftDirectory});
  EXPECT_EQ(Texts(list->Entries()),
            (std::vector<std::string>{"[..]", "[.]", "[rosub]", "[sub]", "[Twin]", "[twin]"}));
  list->SetDirectory("C:\\");
  EXPECT_EQ(Texts(list->Entries()), std::vector<std::string>{"[W]"});
}

TEST_F(FileListBoxTest, MaskPatternsMergeAndKeepDuplicates) {
  tmp_.MakeFile("c/W/B.TXT");
  tmp_.MakeFile("c/W/a.doc");
  const std::pair<std::string, std::vector<std::string>> cases[] = {
      {"*.txt;*.*", {"a.doc", "B.TXT", "B.TXT", "plain.txt", "plain.txt", "ro.txt", "ro.txt"}},
      {"*.doc;;B.*", {"a.doc", "B.TXT"}},
      {";", {}},
      {"", {}},
      {"*.doc", {"a.doc"}},
      // A pattern holding a path names nothing, also one that leads back here.
      {"../*;..\\W\\*.doc;sub\\*;C:*.doc;/*;*.doc", {"a.doc"}},
  };
  auto list = MakeList();
  for (const auto& [mask, expected] : cases) {
    list->SetMask(mask);
    EXPECT_EQ(Texts(list->Entries()), expected) << mask;
  }
}

TEST_F(FileListBoxTest, GlyphsByExtensionAndForDirectories) {
  tmp_.MakeDir("c/G/sub");
  for (const char* file : {"c/G/run.EXE", "c/G/x.com", "c/G/y.Bat", "c/G/z.pif", "c/G/doc.txt",
                           "c/G/exe", "c/G/a.exe.txt"}) {
    tmp_.MakeFile(file);
  }
  for (const bool glyphs : {true, false}) {
    FileListBox list(platform());
    list.SetShowGlyphs(glyphs);
    list.SetFileType({ftDirectory, ftNormal});
    list.SetDirectory("C:\\G");
    const Glyph folder = glyphs ? Glyph::kClosedFolder : Glyph::kNone;
    const std::vector<ListEntry> expected = {{"a.exe.txt", Glyph::kUnknownFile},
                                             {"doc.txt", Glyph::kUnknownFile},
                                             {"exe", Glyph::kUnknownFile},
                                             {"run.EXE", Glyph::kExecutable},
                                             {"x.com", Glyph::kExecutable},
                                             {"y.Bat", Glyph::kExecutable},
                                             {"z.pif", Glyph::kExecutable},
                                             {"[..]", folder},
                                             {"[.]", folder},
                                             {"[sub]", folder}};
    EXPECT_EQ(list.Entries(), expected) << glyphs;
  }
}

TEST_F(FileListBoxTest, NeverShownListReadsWhenFirstAsked) {
  FileListBox list(platform());
  list.SetFileType({ftDirectory});
  list.SetMask("*");
  list.SetDirectory("C:\\W\\sub");
  list.ApplyPath("C:\\W");
  EXPECT_FALSE(list.WindowCreated());
  EXPECT_EQ(platform().FindCalls(), 0);
  EXPECT_EQ(list.Count(), 6);
  EXPECT_EQ(platform().FindCalls(), 1);
  EXPECT_EQ(list.Count(), 6);
  EXPECT_EQ(platform().FindCalls(), 1);
}

TEST_F(FileListBoxTest, OneReadAndOneChangePerDifferentSetting) {
  auto list = MakeList();
  const int finds = platform().FindCalls();
  list->SetMask("*.txt");
  list->SetMask("*.txt");
  // The main window builds the set one box at a time.
  TFileType type;
  for (const TFileAttr attr : {ftReadOnly, ftHidden, ftSystem, ftArchive, ftNormal}) {
    list->SetFileType(type.Include(attr));
    list->SetFileType(type);
  }
  EXPECT_EQ(events_, std::vector<std::string>(6, "change"));
  EXPECT_EQ(platform().FindCalls(), finds + 6);
}

TEST_F(FileListBoxTest, SelectionFromCodeIsSilentAndClicksNotifyOnlyNewSelections) {
  auto list = MakeList();
  EXPECT_EQ(list->ItemIndex(), -1);
  EXPECT_EQ(list->LastIndex(), -1);
  list->SetItemIndex(1);
  EXPECT_TRUE(events_.empty());
  EXPECT_EQ(list->ItemIndex(), 1);
  struct Step {
    int index;
    std::vector<std::string> events;
  };
  const Step steps[] = {{1, {"click", "change"}}, {1, {"click"}}, {0, {"click", "change"}}};
  for (const auto& step : steps) {
    events_.clear();
    list->ClickEntry(step.index);
    EXPECT_EQ(events_, step.events) << step.index;
    EXPECT_EQ(list->LastIndex(), step.index);
  }
  list->SetItemIndex(99);
  EXPECT_EQ(list->ItemIndex(), -1);
  // Moving the selection leaves the entries' revision; a read and the glyphs change it.
  std::uint64_t revision = list->EntriesRevision();
  list->SetItemIndex(0);
  EXPECT_EQ(list->EntriesRevision(), revision);
  list->SetMask("*.txt");
  EXPECT_EQ(list->ItemIndex(), -1);
  EXPECT_EQ(list->LastIndex(), -1);
  EXPECT_NE(list->EntriesRevision(), revision);
  revision = list->EntriesRevision();
  list->SetShowGlyphs(!list->ShowGlyphs());
  EXPECT_NE(list->EntriesRevision(), revision);
}

TEST_F(FileListBoxTest, SelectedPathJoinsWithOneBackslash) {
  tmp_.MakeFile("c/top.txt");
  auto list = MakeList();
  auto subdirectories = MakeList({ftDirectory});
  EXPECT_EQ(list->SelectedPath(), "");
  list->SetItemIndex(0);
  EXPECT_EQ(list->SelectedPath(), "C:\\W\\plain.txt");
  list->SetDirectory("C:\\");
  list->SetItemIndex(0);
  EXPECT_EQ(list->SelectedPath(), "C:\\top.txt");
  subdirectories->SetItemIndex(3);
  EXPECT_EQ(subdirectories->SelectedPath(), "C:\\W\\[sub]");
}

TEST_F(FileListBoxTest, SameDirectoryIsNotReadAgain) {
  tmp_.MakeDir("c/w");
  struct Case {
    std::uint32_t flags;
    std::string path;
    bool reads;
  };
  const Case cases[] = {
      {kPosixVolumeFlags, "C:\\W", false}, {kPosixVolumeFlags, "C:\\w", true}, {0, "c:\\w", false}};
  for (const auto& c : cases) {
    Start("C:\\W", {TempDrive('C', tmp_.Path("c"), kDriveFixed, "System", c.flags)});
    auto list = MakeList();
    const int finds = platform().FindCalls();
    list->SetDirectory(c.path);
    EXPECT_EQ(platform().FindCalls() > finds, c.reads) << c.path;
  }
}

TEST_F(FileListBoxTest, FailedReadLeavesTheEntries) {
  auto list = MakeList();
  const auto entries = list->Entries();
  tmp_.Remove("c/W");
  EXPECT_THROW(list->SetMask("*.txt"), IoError);
  EXPECT_THROW(list->SetDirectory("C:\\W\\sub"), IoError);
  EXPECT_EQ(list->Entries(), entries);
  EXPECT_TRUE(events_.empty());
}

TEST_F(FileListBoxTest, LongReadShowsTheBusyCursorUntilItEnds) {
  for (int i = 0; i < 97; ++i) tmp_.MakeFile("c/W/many" + std::to_string(i));
  auto list = MakeList();  // 99 files
  std::vector<bool> seen;
  list->BusyChanged.Subscribe([&] { seen.push_back(list->Busy()); });
  list->SetMask("*.*;*.txt");  // 101 entries
  EXPECT_EQ(seen, (std::vector<bool>{true, false}));
  seen.clear();
  list->SetMask("*.*");
  EXPECT_TRUE(seen.empty());
}

TEST_F(FileListBoxTest, ApplyPathMovesSetsTheMaskOrSelects) {
  struct Step {
    std::string path, directory, mask, selected;
  };
  const Step steps[] = {
      {"C:\\W\\sub", "C:\\W\\sub", "*.*", ""},
      {"C:\\W\\*.txt", "C:\\W", "*.txt", ""},
      {"C:\\W\\ro.txt", "C:\\W", "*.txt", "ro.txt"},
      {"[sub]", "C:\\W\\sub", "*.txt", ""},
      {"..\\plain.txt", "C:\\W", "*.txt", "plain.txt"},
      // A file the filter hides stays unselected, under a mask of its own name.
      {"C:\\W\\.hid", "C:\\W", ".hid", ""},
      {"C:\\W\\plain.txt", "C:\\W", "plain.txt", "plain.txt"},
  };
  auto list = MakeList();
  for (const auto& step : steps) {
    list->ApplyPath(step.path);
    EXPECT_EQ(list->Directory(), step.directory) << step.path;
    EXPECT_EQ(list->Mask(), step.mask) << step.path;
    const int index = list->ItemIndex();
    EXPECT_EQ(index < 0 ? "" : list->Entries()[index].text, step.selected) << step.path;
  }
  events_.clear();
  const int finds = platform().FindCalls();
  for (const std::string same : {"C:\\W\\plain.txt", ""}) list->ApplyPath(same);
  EXPECT_TRUE(events_.empty());
  EXPECT_EQ(platform().FindCalls(), finds);
}

TEST_F(FileListBoxTest, ApplyPathFailures) {
  auto list = MakeList();
  try {
    list->ApplyPath("C:\\W\\missing.txt");
    FAIL() << "no error";
  } catch (const IoError& error) {
    EXPECT_NE(error.code(), kErrInvalidName);
  }
  EXPECT_EQ(list->Directory(), "C:\\W");
  // A file that goes while the list is read is not there to select afterwards.
  tmp_.MakeFile("c/V/gone.txt");
  list->OnChange.Subscribe([this] { tmp_.Remove("c/V/gone.txt"); });
  try {
    list->ApplyPath("C:\\V\\gone.txt");
    FAIL() << "no error";
  } catch (const IoError& error) {
    EXPECT_EQ(error.code(), kErrInvalidName);
    EXPECT_STREQ(error.what(), "Invalid file name - C:\\V\\gone.txt");
  }
}

}  // namespace
}  // namespace tarvik
