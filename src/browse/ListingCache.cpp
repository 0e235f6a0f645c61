#include "browse/ListingCache.h"

#include <algorithm>

namespace tarvik {

std::size_t ListingCache::KeyHash::operator()(std::string_view key) const {
  constexpr std::size_t kHashedEnd = 128;
  const std::string_view end = key.substr(key.size() - std::min(key.size(), kHashedEnd));
  return std::hash<std::string_view>()(end) ^ (key.size() * 0x9e3779b97f4a7c15ULL);
}

void ListingCache::Start() {
  keeping_ = true;
  platform_.KeepListings(true);
}

void ListingCache::Stop() {
  keeping_ = false;
  platform_.KeepListings(false);
  listings_.clear();
  by_key_.clear();
  entry_count_ = 0;
}

void ListingCache::Forget(std::list<Listing>::iterator listing) {
  entry_count_ -= listing->entries->size();
  by_key_.erase(listing->key);
  listings_.erase(listing);
}

SharedEntries ListingCache::Entries(const std::string& directory, const std::string& query,
                                    const std::function<std::vector<ListEntry>()>& read) {
  if (!keeping_) return std::make_shared<const std::vector<ListEntry>>(read());
  // The directory comes last, so that the end a key is hashed by is the directory's whatever
  // the length of the query.
  std::string key;
  key.reserve(query.size() + 1 + directory.size());
  key += query;
  key += '\0';
  key += directory;
  // The stamp is taken before the directory is read, so that a change made while it is read
  // makes the stamp differ the next time.
  DirectoryStamp stamp;
  const bool settled = platform_.StampDirectory(directory, stamp);
  const auto kept = by_key_.find(key);
  if (kept != by_key_.end()) {
    if (settled && kept->second->stamp == stamp) {
      listings_.splice(listings_.begin(), listings_, kept->second);
      return listings_.front().entries;
    }
    Forget(kept->second);
  }
  auto entries = std::make_shared<const std::vector<ListEntry>>(read());
  if (!settled || entries->size() > kMaxEntries) return entries;
  listings_.push_front(Listing{std::move(key), stamp, entries});
  by_key_.emplace(listings_.front().key, listings_.begin());
  entry_count_ += entries->size();
  while (entry_count_ > kMaxEntries || listings_.size() > kMaxListings) {
    Forget(std::prev(listings_.end()));
  }
  return entries;
}

SharedEntries EntriesThrough(ListingCache* cache, const std::string& directory,
                             const std::string& query,
                             const std::function<std::vector<ListEntry>()>& read) {
  if (cache == nullptr) return std::make_shared<const std::vector<ListEntry>>(read());
  return cache->Entries(directory, query, read);
}

}  // namespace tarvik
