#pragma once

#include <cstddef>
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "browse/Glyph.h"
#include "platform/Platform.h"

namespace tarvik {

using SharedEntries = std::shared_ptr<const std::vector<ListEntry>>;

// The lists' entries of the directories read lately, kept while a command walks the tree so that
// a list that returns to a directory gets its entries without reading it again. An entry is
// handed out again only when the directory's stamp proves that nothing was added, removed or
// renamed in it since it was read; otherwise the directory is read again. Off by default: a list
// the user browses always reads afresh.
class ListingCache {
 public:
  // At most this many entries, over all the listings kept.
  static constexpr std::size_t kMaxEntries = 100'000;
  // At most this many listings.
  static constexpr std::size_t kMaxListings = 256;

  explicit ListingCache(Platform& platform) : platform_(platform) {}
  ListingCache(const ListingCache&) = delete;
  ListingCache& operator=(const ListingCache&) = delete;

  // Keeps listings from now on, and has the platform keep its own; Stop forgets them all and
  // keeps none.
  void Start();
  void Stop();

  // The entries that `read` gives for `directory` (a full path in the program's form) under
  // `query` (whatever else decides what is listed): those kept from an earlier read when the
  // directory is unchanged since, else `read`'s, kept when the directory had settled before.
  SharedEntries Entries(const std::string& directory, const std::string& query,
                        const std::function<std::vector<ListEntry>()>& read);

  std::size_t ListingCount() const { return listings_.size(); }
  std::size_t EntryCount() const { return entry_count_; }

 private:
  struct Listing {
    std::string key;
    DirectoryStamp stamp;
    SharedEntries entries;
  };

  void Forget(std::list<Listing>::iterator listing);

  Platform& platform_;
  bool keeping_ = false;
  // Most recently used first.
  std::list<Listing> listings_;
  // Hashes a key (query, then directory) by its length and its end, where the paths of
  // directories near each other differ: a deep directory's path is not read whole for each
  // look-up.
  struct KeyHash {
    std::size_t operator()(std::string_view key) const;
  };
  // Equal keys; a listing's own key is known as such without reading it, so that forgetting a
  // deep directory's listing compares no path.
  struct KeyEqual {
    bool operator()(std::string_view a, std::string_view b) const {
      return (a.data() == b.data() && a.size() == b.size()) || a == b;
    }
  };
  // Keyed by the listing's own key: a directory's path is held once however deep it is.
  std::unordered_map<std::string_view, std::list<Listing>::iterator, KeyHash, KeyEqual> by_key_;
  std::size_t entry_count_ = 0;
};

// ListingCache::Entries through `cache`, or `read`'s entries when there is no cache.
SharedEntries EntriesThrough(ListingCache* cache, const std::string& directory,
                             const std::string& query,
                             const std::function<std::vector<ListEntry>()>& read);

// Keeps listings in a cache (if any) for the life of the scope.
class KeptListings {
 public:
  explicit KeptListings(ListingCache* cache) : cache_(cache) {
    if (cache_ != nullptr) cache_->Start();
  }
  ~KeptListings() {
    if (cache_ != nullptr) cache_->Stop();
  }
  KeptListings(const KeptListings&) = delete;
  KeptListings& operator=(const KeptListings&) = delete;

 private:
  ListingCache* cache_;
};

}  // namespace tarvik
