#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "browse/FileNames.h"
#include "browse/FileType.h"

namespace tarvik {
namespace {

TEST(FileNamesTest, EqualityFollowsTheVolumeCase) {
  struct Case {
    std::string a, b;
    bool insensitive_equal, sensitive_equal;
  };
  const Case cases[] = {
      {"C:\\WORK", "c:\\work", true, false},
      {"Файл.txt", "ФАЙЛ.TXT", true, false},
      {"ёж", "ЁЖ", true, false},
      {"a", "a", true, true},
      {"a", "b", false, false},
      {"a", "a ", false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SameFileName(c.a, c.b, false), c.insensitive_equal) << c.a << " " << c.b;
    EXPECT_EQ(SameFileName(c.a, c.b, true), c.sensitive_equal) << c.a << " " << c.b;
  }
}

TEST(FileNamesTest, SortIgnoresCaseAndIsDeterministic) {
  // Brackets come after the Latin letters, as their upper-case forms do.
  const std::vector<std::string> expected = {"A",   "a",   "a",  "b.txt", "B.TXT2",
                                             "[a]", "[B]", "Ёж", "яма"};
  // Every input order gives the same list.
  std::vector<std::string> names = expected;
  std::sort(names.begin(), names.end());
  do {
    std::vector<ListEntry> entries;
    for (const auto& name : names) entries.push_back({name, Glyph::kNone});
    SortEntries(entries);
    std::vector<std::string> sorted;
    for (const auto& entry : entries) sorted.push_back(entry.text);
    ASSERT_EQ(sorted, expected);
  } while (std::next_permutation(names.begin(), names.begin() + 5));
}

TEST(FileNamesTest, SearchInListOrderFindsTheFirstSameName) {
  std::vector<ListEntry> entries;
  for (const char* name :
       {"A", "a", "a", "b.txt", "B.TXT2", "[a]", "[B]", "[FOO]", "[Foo]", "Ёж"}) {
    entries.push_back({name, Glyph::kNone});
  }
  for (const bool case_sensitive : {false, true}) {
    for (const char* wanted :
         {"A", "a", "B.TXT", "b.txt", "[FOO]", "[Foo]", "[foo]", "ёж", "[C]"}) {
      int first = -1;
      for (int i = 0; first < 0 && i < static_cast<int>(entries.size()); ++i) {
        if (SameFileName(entries[i].text, wanted, case_sensitive)) first = i;
      }
      EXPECT_EQ(FindInListOrder(entries, wanted, case_sensitive), first)
          << wanted << (case_sensitive ? " sensitive" : " insensitive");
    }
  }
}

TEST(FileTypeTest, AttributeWordHasNoBitForNormal) {
  struct Case {
    TFileType type;
    std::uint32_t word;
  };
  const Case cases[] = {
      {{}, 0},
      {{ftNormal}, 0},
      {{ftDirectory}, kAttrDirectory},
      {{ftReadOnly, ftHidden, ftSystem, ftArchive, ftNormal}, 0x27},
      {{ftVolumeID, ftArchive}, kAttrVolumeId | kAttrArchive},
  };
  for (const auto& c : cases) EXPECT_EQ(c.type.AttributeWord(), c.word);
  TFileType type{ftReadOnly};
  EXPECT_TRUE(type.Include(ftNormal).Contains(ftNormal));
  EXPECT_FALSE(type.Exclude(ftReadOnly).Contains(ftReadOnly));
  EXPECT_EQ(type, TFileType{ftNormal});
}

}  // namespace
}  // namespace tarvik
