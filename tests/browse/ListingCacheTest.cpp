#include <filesystem>

#include "browse/ListingCache.h"
#include "support/TempDriveTest.h"

namespace tarvik {
namespace {

class ListingCacheTest : public TempDriveTest<> {
 protected:
  // The cache's entries for C:\<directory>, and whether the directory was read for them, through
  // the platform as the lists read it.
  std::pair<std::size_t, bool> List(ListingCache& cache, const std::string& directory) {
    bool read = false;
    const SharedEntries entries = cache.Entries("C:\\" + directory, "*", [&] {
      read = true;
      std::vector<ListEntry> names;
      for (const FoundEntry& found : platform_->FindFiles("C:\\" + directory + "\\*", 0)) {
        names.push_back({found.name, Glyph::kNone});
      }
      return names;
    });
    return {entries->size(), read};
  }
};

TEST_F(ListingCacheTest, KeepsAListingOnlyWhileItsDirectoryIsProvablyUnchanged) {
  struct Case {
    const char* name;
    bool settle;
    std::function<void(TempDir&)> change;  // between the first and the second listing
    bool keeping;
    std::size_t second_size;
    bool read_again;
  };
  const Case cases[] = {
      {"settled and unchanged", true, nullptr, true, 2, false},
      {"an entry added", true, [](TempDir& t) { t.MakeFile("D/new"); }, true, 3, true},
      {"an entry renamed", true,
       [](TempDir& t) { std::filesystem::rename(t.Path("D/a"), t.Path("D/z")); }, true, 2, true},
      {"changed too lately to tell", false, nullptr, true, 2, true},
      {"not keeping", true, nullptr, false, 2, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    tmp_.MakeFile("D/a");
    tmp_.MakeFile("D/b");
    StartPlatform();
    ListingCache cache(*platform_);
    if (c.keeping) cache.Start();
    if (c.settle) SettleDirectories();
    EXPECT_EQ(List(cache, "D"), std::make_pair(std::size_t{2}, true));
    if (c.change) c.change(tmp_);
    EXPECT_EQ(List(cache, "D"), std::make_pair(c.second_size, c.read_again));
    cache.Stop();
    EXPECT_EQ(cache.ListingCount(), 0u);
    std::filesystem::remove_all(tmp_.Path("D"));
  }
}

TEST_F(ListingCacheTest, ForgetsTheLeastRecentlyUsedBeyondItsBound) {
  const int directories = static_cast<int>(ListingCache::kMaxListings) + 1;
  for (int d = 0; d < directories; ++d) tmp_.MakeFile("D" + std::to_string(d) + "/f");
  StartPlatform();
  SettleDirectories();
  ListingCache cache(*platform_);
  cache.Start();
  for (int d = 0; d < directories; ++d) List(cache, "D" + std::to_string(d));
  EXPECT_EQ(cache.ListingCount(), ListingCache::kMaxListings);
  EXPECT_TRUE(List(cache, "D0").second);
  EXPECT_FALSE(List(cache, "D" + std::to_string(directories - 1)).second);
}

}  // namespace
}  // namespace tarvik
