#pragma once

#include <cstddef>
#include <list>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/smb/SmbShare.h"

namespace tarvik {

// Listings of a share's directories kept for looking up single names in them, so that the
// attributes of a name cost one status request of its directory instead of a listing of all
// its siblings. A kept listing is handed out only while the directory's settled stamp is the
// one taken before it was read; otherwise the directory is read again.
class ShareListings {
 public:
  // At most this many listings, and at most this many entries over all of them.
  static constexpr std::size_t kMaxListings = 16;
  static constexpr std::size_t kMaxEntries = 50'000;

  // The entry named `name` (regardless of case) in the directory `names` of `share`; false
  // when the directory cannot be listed or holds no such entry.
  bool Find(SmbShare& share, const std::vector<std::string>& names, const std::string& name,
            FoundEntry& found);

 private:
  struct Listing {
    std::vector<std::string> names;
    DirectoryStamp stamp;
    std::vector<FoundEntry> entries;
  };

  // Most recently used first.
  std::list<Listing> listings_;
  std::size_t entry_count_ = 0;
};

}  // namespace tarvik
