#pragma once

#include <cstddef>
#include <list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace tarvik {

// The latest listings read of a share's directories, kept for the attribute bits of single
// names: only a listing carries all of them, and a listing of all its siblings for each name
// would cost the share a request per entry. Whether a name is there, and whether it is a
// directory, is for the caller to ask the share, or to take from the latest request
// (LatestRequest).
// The entry of a listing named `name` regardless of case, nullptr when there is none.
const FoundEntry* EntryNamed(const std::vector<FoundEntry>& entries, const std::string& name);

class ShareListings {
 public:
  // At most this many listings, and at most this many entries over all of them.
  static constexpr std::size_t kMaxListings = 256;
  static constexpr std::size_t kMaxEntries = 50'000;

  using Entries = std::shared_ptr<const std::vector<FoundEntry>>;

  // Keeps the whole listing just read of the directory `names`, in place of an older one, with
  // the stamp of the directory taken just before it was read, if it was settled then.
  void Keep(const std::vector<std::string>& names, Entries entries,
            std::optional<DirectoryStamp> stamp);
  // The entry named `name` (regardless of case) in the kept listing of `names`, nullptr when
  // none is kept or it holds no such name.
  const FoundEntry* Find(const std::vector<std::string>& names, const std::string& name);
  // Forgets every listing.
  void Clear() {
    listings_.clear();
    entry_count_ = 0;
  }
  // The number of entries of the kept listing of `names`, if one is kept.
  std::optional<std::size_t> EntryCount(const std::vector<std::string>& names) const;
  // The kept listing of `names` when it was stamped with `stamp` (of a settled directory), so
  // that nothing was added, removed or renamed in it since; nullptr otherwise.
  Entries Unchanged(const std::vector<std::string>& names, const DirectoryStamp& stamp);

 private:
  struct Listing {
    std::vector<std::string> names;
    Entries entries;
    std::optional<DirectoryStamp> stamp;
  };

  std::list<Listing>::const_iterator Locate(const std::vector<std::string>& names) const;

  // Most recently used first.
  std::list<Listing> listings_;
  std::size_t entry_count_ = 0;
};

}  // namespace tarvik
