#include "platform/smb/ShareListings.h"

#include <algorithm>

#include "platform/posix/Pattern.h"

namespace tarvik {

namespace {

bool FindIn(const std::vector<FoundEntry>& entries, const std::string& name, FoundEntry& found) {
  const auto entry = std::find_if(entries.begin(), entries.end(), [&name](const FoundEntry& e) {
    return EqualIgnoringCase(e.name, name);
  });
  if (entry == entries.end()) return false;
  found = *entry;
  return true;
}

}  // namespace

bool ShareListings::Find(SmbShare& share, const std::vector<std::string>& names,
                         const std::string& name, FoundEntry& found) {
  // Stamped before it is read, so that a change made while it is read shows the next time.
  DirectoryStamp stamp;
  const bool settled = share.Stamp(names, stamp);
  const auto kept = std::find_if(listings_.begin(), listings_.end(),
                                 [&names](const Listing& listing) { return listing.names == names; });
  if (kept != listings_.end()) {
    if (settled && kept->stamp == stamp) {
      listings_.splice(listings_.begin(), listings_, kept);
      return FindIn(kept->entries, name, found);
    }
    entry_count_ -= kept->entries.size();
    listings_.erase(kept);
  }
  std::vector<FoundEntry> entries;
  if (share.List(names, entries) != 0) return false;
  const bool result = FindIn(entries, name, found);
  if (settled && entries.size() <= kMaxEntries) {
    entry_count_ += entries.size();
    listings_.push_front(Listing{names, stamp, std::move(entries)});
    while (entry_count_ > kMaxEntries || listings_.size() > kMaxListings) {
      entry_count_ -= listings_.back().entries.size();
      listings_.pop_back();
    }
  }
  return result;
}

}  // namespace tarvik
