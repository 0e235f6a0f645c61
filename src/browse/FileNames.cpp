#include "browse/FileNames.h"

#include <algorithm>
#include <cstddef>
#include <numeric>

#include "platform/ErrorCodes.h"
#include "util/Path.h"
#include "util/Text.h"

namespace tarvik {

namespace {

std::string UpperCased(std::string_view text) {
  std::string upper(text);
  UpperCase1251(upper);
  return upper;
}

}  // namespace

bool SameFileName(std::string_view a, std::string_view b, bool case_sensitive) {
  if (case_sensitive) return a == b;
  return UpperCased(a) == UpperCased(b);
}

void SortEntries(std::vector<ListEntry>& entries) {
  // Each key is computed once; a directory can hold many thousands of names.
  std::vector<std::string> keys;
  keys.reserve(entries.size());
  for (const auto& entry : entries) keys.push_back(UpperCased(entry.text));
  std::vector<std::size_t> order(entries.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    if (keys[a] != keys[b]) return keys[a] < keys[b];
    return entries[a].text < entries[b].text;
  });
  std::vector<ListEntry> sorted;
  sorted.reserve(entries.size());
  for (const std::size_t index : order) sorted.push_back(std::move(entries[index]));
  entries = std::move(sorted);
}

int FindInListOrder(const std::vector<ListEntry>& entries, std::string_view text,
                    bool case_sensitive) {
  const std::string key = UpperCased(text);
  // Entries before the first same name: a lower key, or on a case-sensitive volume the same
  // key and lower bytes.
  const auto first =
      std::partition_point(entries.begin(), entries.end(), [&](const ListEntry& entry) {
        const std::string entry_key = UpperCased(entry.text);
        if (entry_key != key) return entry_key < key;
        return case_sensitive && entry.text < text;
      });
  if (first == entries.end() || !SameFileName(first->text, text, case_sensitive)) return -1;
  return static_cast<int>(first - entries.begin());
}

bool CaseSensitiveVolume(Platform& platform, std::string_view path) {
  VolumeInfo info;
  if (platform.VolumeInformation(DrivePart(path) + "\\", info) != kNoError) return false;
  return (info.flags & kVolumeCaseSensitiveSearch) != 0;
}

}  // namespace tarvik
