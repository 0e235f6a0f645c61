#include "platform/smb/ShareListings.h"

#include <algorithm>

#include "platform/Pattern.h"
#include "platform/smb/RemoteName.h"

namespace tarvik {

const FoundEntry* EntryNamed(const std::vector<FoundEntry>& entries, const std::string& name) {
  const auto entry = std::find_if(entries.begin(), entries.end(), [&name](const FoundEntry& found) {
    return EqualIgnoringCase(found.name, name);
  });
  return entry != entries.end() ? &*entry : nullptr;
}

std::list<ShareListings::Listing>::const_iterator ShareListings::Locate(
    const std::vector<std::string>& names) const {
  return std::find_if(listings_.begin(), listings_.end(), [&names](const Listing& listing) {
    return SameRemoteNames(listing.names, names);
  });
}

void ShareListings::Keep(const std::vector<std::string>& names, Entries entries,
                         std::optional<DirectoryStamp> stamp) {
  const auto kept = Locate(names);
  if (kept != listings_.end()) {
    entry_count_ -= kept->entries->size();
    listings_.erase(kept);
  }
  if (entries->size() > kMaxEntries) return;
  entry_count_ += entries->size();
  listings_.push_front(Listing{names, std::move(entries), stamp});
  while (entry_count_ > kMaxEntries || listings_.size() > kMaxListings) {
    entry_count_ -= listings_.back().entries->size();
    listings_.pop_back();
  }
}

const FoundEntry* ShareListings::Find(const std::vector<std::string>& names,
                                      const std::string& name) {
  const auto kept = Locate(names);
  if (kept == listings_.end()) return nullptr;
  listings_.splice(listings_.begin(), listings_, kept);
  return EntryNamed(*kept->entries, name);
}

std::optional<std::size_t> ShareListings::EntryCount(const std::vector<std::string>& names) const {
  const auto kept = Locate(names);
  if (kept == listings_.end()) return std::nullopt;
  return kept->entries->size();
}

ShareListings::Entries ShareListings::Unchanged(const std::vector<std::string>& names,
                                                const DirectoryStamp& stamp) {
  const auto kept = Locate(names);
  if (kept == listings_.end() || kept->stamp != stamp) return nullptr;
  listings_.splice(listings_.begin(), listings_, kept);
  return kept->entries;
}

}  // namespace tarvik
