#include <gtest/gtest.h>

#include <ostream>

#include "PlatformFixture.h"
#include "support/ScopedMount.h"

namespace tarvik {
namespace {

struct AttributeCase {
  const char* path;  // below C:\, where the tree of MakeTree stands
  std::uint32_t attributes;
};

void PrintTo(const AttributeCase& c, std::ostream* out) { *out << c.path; }

void MakeTree(TempDir& dir) {
  dir.MakeFile("plain.txt", "x");
  dir.MakeFile(".profile", "x");
  dir.MakeFile("locked.txt", "x");
  dir.Chmod("locked.txt", 0444);
  dir.MakeFile("group-only.txt", "x");
  dir.Chmod("group-only.txt", 0464);
  dir.MakeDir("sub");
  dir.MakeDir(".config");
  dir.MakeDir("frozen");
  dir.Chmod("frozen", 0555);
  dir.MakeSymlink("to-sub", "sub");
  dir.MakeSymlink("to-plain", "plain.txt");
  dir.MakeSymlink(".to-sub", "sub");
  dir.MakeSymlink("dangling", "no-such-file");
}

class AttributeRuleTest : public PlatformTest,
                          public ::testing::WithParamInterface<AttributeCase> {};

// Both ways of asking give the same attributes: the single query and the listing.
TEST_P(AttributeRuleTest, QueryAndListingAgree) {
  MakeTree(tmp_);
  const AttributeCase& c = GetParam();
  EXPECT_EQ(platform_->FileAttributes(std::string("C:\\") + c.path), c.attributes);
  EXPECT_EQ(ListedAttributes("C:", c.path), c.attributes);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, AttributeRuleTest,
    ::testing::Values(
        // A plain file has no attribute at all: never archive.
        AttributeCase{"plain.txt", 0}, AttributeCase{".profile", kAttrHidden},
        // Read-only follows the owner's write permission only.
        AttributeCase{"locked.txt", kAttrReadOnly}, AttributeCase{"group-only.txt", kAttrReadOnly},
        AttributeCase{"sub", kAttrDirectory},
        AttributeCase{".config", kAttrDirectory | kAttrHidden},
        AttributeCase{"frozen", kAttrDirectory | kAttrReadOnly},
        // A link to a directory is a system directory, so that walks never follow it.
        AttributeCase{"to-sub", kAttrDirectory | kAttrSystem},
        AttributeCase{".to-sub", kAttrDirectory | kAttrSystem | kAttrHidden},
        // A link to a file is that file.
        AttributeCase{"to-plain", 0},
        // A dangling link is a file.
        AttributeCase{"dangling", 0}));

TEST_F(PlatformTest, DotEntriesAreNeverHiddenNorSystem) {
  tmp_.MakeDir("a/b");
  EXPECT_EQ(ListedAttributes("C:\\a\\b", "."), kAttrDirectory);
  EXPECT_EQ(ListedAttributes("C:\\a\\b", ".."), kAttrDirectory);
}

TEST_F(PlatformTest, DirectorySymlinkLoopIsSystemDirectory) {
  tmp_.MakeDir("loop");
  tmp_.MakeSymlink("loop/again", "..");
  EXPECT_EQ(ListedAttributes("C:\\loop", "again"), kAttrDirectory | kAttrSystem);
  // Stepping into it works as on any directory; only walks that honour the attribute stop.
  EXPECT_EQ(platform_->SetCurrentDirectory("C:\\loop\\again\\loop\\again"), kNoError);
}

TEST_F(PlatformTest, MountPointIsSystemDirectoryAndReadOnlyFileSystemMakesReadOnly) {
  tmp_.MakeDir("media/cd");
  ScopedMount mount(tmp_.Path("media/cd"));
  if (!mount.mounted()) GTEST_SKIP() << "mounting needs privileges this machine does not grant";
  tmp_.MakeFile("media/cd/track.dat", "data");
  tmp_.MakeDir("media/cd/docs");
  EXPECT_EQ(ListedAttributes("C:\\media", "cd"), kAttrDirectory | kAttrSystem);
  EXPECT_EQ(platform_->FileAttributes("C:\\media\\cd"), kAttrDirectory | kAttrSystem);
  EXPECT_EQ(platform_->FileAttributes("C:\\media\\cd\\track.dat"), 0u);

  ASSERT_TRUE(mount.MakeReadOnly());
  // As files on a CD are.
  EXPECT_EQ(platform_->FileAttributes("C:\\media\\cd\\track.dat"), kAttrReadOnly);
  EXPECT_EQ(ListedAttributes("C:\\media\\cd", "docs"), kAttrDirectory | kAttrReadOnly);
  EXPECT_EQ(ListedAttributes("C:\\media", "cd"), kAttrDirectory | kAttrSystem | kAttrReadOnly);
}

TEST_F(PlatformTest, MissingPathsHaveNoAttributes) {
  tmp_.MakeFile("file.txt");
  tmp_.MakeFifo("pipe");
  for (const char* path :
       {"C:\\none", "C:\\none\\deeper", "C:\\file.txt\\below", "C:\\pipe", "C:\\*.*", "Q:\\"}) {
    EXPECT_EQ(platform_->FileAttributes(path), kInvalidAttributes) << path;
  }
  EXPECT_EQ(platform_->FileAttributes("C:\\"), kAttrDirectory);
}

}  // namespace
}  // namespace tarvik
