#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <ostream>

#include "PlatformFixture.h"

namespace tarvik {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST_F(PlatformTest, FifoAndSocketAreNeverListedNorOpened) {
  tmp_.MakeFile("data.txt", "x");
  tmp_.MakeFifo("pipe");
  tmp_.MakeSocket("sock");
  constexpr std::uint32_t kEverything = kAttrHidden | kAttrSystem | kAttrDirectory;
  EXPECT_THAT(Find("C:\\*.*", kEverything), ElementsAre("data.txt"));
  for (const char* path : {"C:\\pipe", "C:\\sock"}) {
    EXPECT_FALSE(platform_->FileExists(path)) << path;
    FileHandle file = kNoFile;
    // Opening the FIFO for real would hang the test: a failure here means it never was.
    EXPECT_EQ(platform_->OpenForReading(path, file), kErrFileNotFound) << path;
    EXPECT_EQ(file, kNoFile);
    EXPECT_EQ(platform_->CreateTextFile(path, file), kErrAccessDenied) << path;
    EXPECT_EQ(platform_->OpenForAppend(path, file), kErrAccessDenied) << path;
    EXPECT_NE(platform_->SetCurrentDirectory(path), kNoError) << path;
  }
}

// A listing of directories only skips the files by the type the directory gives, and so
// must give exactly the directories that the full listing gives, with the same attributes.
TEST_F(PlatformTest, DirectoryListingGivesTheDirectoriesOfTheFullListing) {
  tmp_.MakeFile("file.txt");
  tmp_.MakeFile(".hidden.txt");
  tmp_.MakeDir("sub");
  tmp_.MakeDir(".hid");
  tmp_.MakeDir("s.d/inner");
  tmp_.MakeSymlink("to_sub", "sub");
  tmp_.MakeSymlink("to_file", "file.txt");
  tmp_.MakeSymlink("gone", "nowhere");
  tmp_.MakeFifo("pipe");
  tmp_.MakeSocket("sock");
  tmp_.MakeSymlink("to_pipe", "pipe");
  tmp_.Chmod("s.d", 0555);
  using Listing = std::vector<std::pair<std::string, std::uint32_t>>;
  const auto listing = [](const std::vector<FoundEntry>& entries) {
    Listing result;
    for (const FoundEntry& entry : entries) {
      if ((entry.attributes & kAttrDirectory) != 0)
        result.emplace_back(entry.name, entry.attributes);
    }
    return result;
  };
  for (const char* pattern : {"C:\\*", "C:\\*.*", "C:\\s*", "C:\\s.d\\*", "C:\\to_*"}) {
    for (const std::uint32_t attributes :
         {kAttrDirectory, kAttrDirectory | kAttrHidden, kAttrDirectory | kAttrSystem,
          kAttrDirectory | kAttrHidden | kAttrSystem, kAttrReadOnly}) {
      SCOPED_TRACE(std::string(pattern) + " " + std::to_string(attributes));
      const std::vector<FoundEntry> directories = platform_->FindDirectories(pattern, attributes);
      EXPECT_EQ(listing(directories).size(), directories.size());
      EXPECT_EQ(listing(directories),
                listing(platform_->FindFiles(pattern, attributes | kAttrDirectory)));
    }
  }
  EXPECT_EQ(listing(platform_->FindDirectories("C:\\*", kAttrSystem)),
            (Listing{{"s.d", kAttrDirectory | kAttrReadOnly},
                     {"sub", kAttrDirectory},
                     {"to_sub", kAttrDirectory | kAttrSystem}}));
  EXPECT_EQ(listing(platform_->FindDirectories("C:\\s.d\\*", 0)),
            (Listing{{".", kAttrDirectory | kAttrReadOnly},
                     {"..", kAttrDirectory},
                     {"inner", kAttrDirectory}}));
}

TEST_F(PlatformTest, LinkToFifoIsInvisibleToo) {
  tmp_.MakeFifo("pipe");
  tmp_.MakeSymlink("link", "pipe");
  EXPECT_THAT(Find("C:\\*", 0), IsEmpty());
  FileHandle file = kNoFile;
  EXPECT_EQ(platform_->OpenForReading("C:\\link", file), kErrFileNotFound);
}

TEST_F(PlatformTest, DanglingLinkIsListedAsFileThatCannotBeOpened) {
  tmp_.MakeSymlink("gone.txt", "nowhere.txt");
  tmp_.MakeSymlink("self", "self");
  const auto entries = platform_->FindFiles("C:\\*.*", 0);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].name, "gone.txt");
  EXPECT_EQ(entries[0].size, 0);
  EXPECT_EQ(entries[1].name, "self");
  EXPECT_TRUE(platform_->FileExists("C:\\gone.txt"));
  FileHandle file = kNoFile;
  EXPECT_EQ(platform_->OpenForReading("C:\\gone.txt", file), kErrFileNotFound);
  EXPECT_EQ(platform_->OpenForReading("C:\\self", file), kErrFileNotFound);
  // Writing through it would create a file somewhere else.
  EXPECT_EQ(platform_->CreateTextFile("C:\\gone.txt", file), kErrAccessDenied);
  EXPECT_FALSE(std::filesystem::exists(tmp_.Path("nowhere.txt")));
}

TEST_F(PlatformTest, LinkToFileIsThatFile) {
  tmp_.MakeFile("real.bin", "12345");
  tmp_.MakeSymlink("alias.bin", "real.bin");
  const auto entries = platform_->FindFiles("C:\\alias.bin", 0);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].size, 5);
  EXPECT_EQ(entries[0].attributes, 0u);
  FileHandle file = kNoFile;
  ASSERT_EQ(platform_->OpenForReading("C:\\alias.bin", file), kNoError);
  char buffer[16];
  std::size_t done = 0;
  EXPECT_EQ(platform_->Read(file, buffer, sizeof buffer, done), kNoError);
  EXPECT_EQ(std::string(buffer, done), "12345");
  platform_->Close(file);
}

// While listings are kept, a file of the kept listing is opened without a look first: what is
// opened must still be what is there now, whatever took its place since the listing.
TEST_F(PlatformTest, OpenThroughAKeptListingOpensWhatIsThereNow) {
  struct Case {
    const char* name;
    std::function<void(TempDir&)> change;  // after the listing was kept
    int code;
    std::string content;
    bool opened_before = false;  // opened and closed unread before the change, then a look
  };
  const Case cases[] = {
      {"unchanged", nullptr, kNoError, "old"},
      {"removed", [](TempDir& t) { t.Remove("D/f"); }, kErrFileNotFound, ""},
      {"another file",
       [](TempDir& t) {
         t.MakeFile("D/g", "new");
         std::filesystem::rename(t.Path("D/g"), t.Path("D/f"));
       },
       kNoError, "new"},
      {"a FIFO",
       [](TempDir& t) {
         t.Remove("D/f");
         t.MakeFifo("D/f");
       },
       kErrFileNotFound, ""},
      {"a directory",
       [](TempDir& t) {
         t.Remove("D/f");
         t.MakeDir("D/f");
       },
       kErrAccessDenied, ""},
      {"removed after an open", [](TempDir& t) { t.Remove("D/f"); }, kErrFileNotFound, "", true},
      {"another file after an open",
       [](TempDir& t) {
         t.MakeFile("D/g", "new");
         std::filesystem::rename(t.Path("D/g"), t.Path("D/f"));
       },
       kNoError, "new", true},
  };
  const auto descriptors = [] {
    return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {});
  };
  const auto descriptors_before = descriptors();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    tmp_.MakeFile("D/f", "old");
    SettleDirectories();
    platform_->KeepListings(true);
    ASSERT_THAT(Find("C:\\D\\*", 0), ElementsAre("f"));
    FileHandle file = kNoFile;
    if (c.opened_before) {
      ASSERT_EQ(platform_->OpenForReading("C:\\D\\f", file), kNoError);
      platform_->Close(file);
    }
    if (c.change) c.change(tmp_);
    if (c.opened_before) platform_->IsDirectory("C:\\D");
    EXPECT_EQ(platform_->OpenForReading("C:\\D\\f", file), c.code);
    if (file != kNoFile) {
      char buffer[16];
      std::size_t done = 0;
      EXPECT_EQ(platform_->Read(file, buffer, sizeof buffer, done), kNoError);
      EXPECT_EQ(std::string(buffer, done), c.content);
      platform_->Close(file);
    }
    platform_->KeepListings(false);
    std::filesystem::remove_all(tmp_.Path("D"));
  }
  EXPECT_EQ(descriptors(), descriptors_before);
}

TEST_F(PlatformTest, DotEntriesEverywhereButTheDriveRoot) {
  tmp_.MakeDir("a/b");
  EXPECT_THAT(Find("C:\\*.*", kAttrDirectory), ElementsAre("a"));
  EXPECT_THAT(Find("C:\\a\\*.*", kAttrDirectory), ElementsAre(".", "..", "b"));
  EXPECT_THAT(Find("C:\\a\\b\\*", kAttrDirectory), ElementsAre(".", ".."));
  // Without the directory bit they are skipped like every directory.
  EXPECT_THAT(Find("C:\\a\\b\\*", 0), IsEmpty());
}

struct FilterCase {
  std::uint32_t requested;
  std::vector<std::string> listed;
};

void PrintTo(const FilterCase& c, std::ostream* out) { *out << "attributes " << c.requested; }

class FindFilterTest : public PlatformTest, public ::testing::WithParamInterface<FilterCase> {};

// Hidden, system and directory entries come only when their bit is asked for; read-only and
// archive bits filter nothing.
TEST_P(FindFilterTest, SkipsUnrequestedKinds) {
  tmp_.MakeDir("top");
  tmp_.MakeFile("top/plain");
  tmp_.MakeFile("top/.hidden");
  tmp_.MakeFile("top/locked");
  tmp_.Chmod("top/locked", 0400);
  tmp_.MakeDir("top/sub");
  tmp_.MakeDir("top/.hsub");
  tmp_.MakeSymlink("top/linked", "sub");
  tmp_.MakeSymlink("top/.hlinked", "sub");
  std::vector<std::string> names = Find("C:\\top\\*.*", GetParam().requested);
  std::sort(names.begin(), names.end());
  std::vector<std::string> expected = GetParam().listed;
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(names, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Attributes, FindFilterTest,
    ::testing::Values(
        FilterCase{0, {"plain", "locked"}},
        FilterCase{kAttrReadOnly | kAttrArchive, {"plain", "locked"}},
        FilterCase{kAttrHidden, {"plain", "locked", ".hidden"}},
        FilterCase{kAttrDirectory, {".", "..", "plain", "locked", "sub"}},
        FilterCase{kAttrDirectory | kAttrHidden,
                   {".", "..", "plain", "locked", ".hidden", "sub", ".hsub"}},
        FilterCase{kAttrDirectory | kAttrSystem, {".", "..", "plain", "locked", "sub", "linked"}},
        FilterCase{kAttrDirectory | kAttrSystem | kAttrHidden,
                   {".", "..", "plain", "locked", ".hidden", "sub", ".hsub", "linked", ".hlinked"}},
        // A system entry that is a directory needs the directory bit as well.
        FilterCase{kAttrSystem, {"plain", "locked"}}));

TEST_F(PlatformTest, FindFilesOfUnreadableOrMissingDirectoryGivesNothing) {
  tmp_.MakeFile("file.txt");
  for (const char* pattern :
       {"C:\\none\\*.*", "C:\\file.txt\\*.*", "Q:\\*.*", "C:\\", "", "\\\\server\\share\\*.*"}) {
    EXPECT_THAT(Find(pattern, kAttrDirectory), IsEmpty()) << pattern;
  }
}

TEST_F(PlatformTest, FindFilesPatternForms) {
  tmp_.MakeFile("a.txt");
  tmp_.MakeFile("sub/b.txt");
  tmp_.MakeFile("sub/c.doc");
  ASSERT_EQ(platform_->SetCurrentDirectory("C:\\sub"), kNoError);
  EXPECT_THAT(Find("*.txt", 0), ElementsAre("b.txt"));
  EXPECT_THAT(Find("C:*.doc", 0), ElementsAre("c.doc"));
  EXPECT_THAT(Find("\\*.txt", 0), ElementsAre("a.txt"));
  EXPECT_THAT(Find("..\\*.txt", 0), ElementsAre("a.txt"));
  EXPECT_THAT(Find("C:/sub/*.txt", 0), ElementsAre("b.txt"));
  // A name without wildcards finds that name, ignoring case as Windows does.
  EXPECT_THAT(Find("C:\\sub\\B.TXT", 0), ElementsAre("b.txt"));
}

}  // namespace
}  // namespace tarvik
