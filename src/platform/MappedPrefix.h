#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "util/Text.h"

namespace tarvik {

// The last path text mapped name by name into another text, kept with the end of every name in
// both, so that a path that begins with the same names maps only the names after them: in a deep
// tree, where one path follows another one level up or down, a call then costs a comparison of
// the texts instead of a mapping of every name.
class MappedPrefix {
 public:
  // Where mapping `source` must go on from: the end of the longest run of kept names that
  // `source` begins with (0 for none), where `source` ends or has a character that
  // `is_separator` takes. `target` is set to the mapping of those names, and they are the
  // only ones kept.
  template <typename IsSeparator>
  std::size_t Reuse(std::string_view source, std::string& target, IsSeparator is_separator);
  // A name of `source` mapped: its end in `source` and in the target text.
  void Add(std::size_t source_end, std::size_t target_end) {
    ends_.emplace_back(source_end, target_end);
  }
  // Keeps `source` as the text whose names were added since the last Reuse, and `target` as
  // their mapping (which begins with what Reuse gave).
  void Keep(std::string_view source, std::string_view target);
  void Clear();

 private:
  std::string source_;
  std::string target_;
  std::vector<std::pair<std::size_t, std::size_t>> ends_;
  // What the last Reuse took from the texts kept: only the rest is copied by Keep.
  std::pair<std::size_t, std::size_t> reused_{0, 0};
};

template <typename IsSeparator>
std::size_t MappedPrefix::Reuse(std::string_view source, std::string& target,
                                IsSeparator is_separator) {
  const std::size_t common = CommonPrefixLength(source, source_);
  std::size_t kept = ends_.size();
  while (kept > 0) {
    const std::size_t end = ends_[kept - 1].first;
    if (end <= common && (end == source.size() || is_separator(source[end]))) break;
    --kept;
  }
  ends_.resize(kept);
  reused_ = kept == 0 ? std::pair<std::size_t, std::size_t>(0, 0) : ends_.back();
  // Room for the names still to be mapped and for one more, which a caller may add, so that
  // a deep path is not copied again as it grows.
  constexpr std::size_t kRoomForAName = 256;
  target.reserve(reused_.second + (source.size() - reused_.first) + kRoomForAName);
  target.assign(target_, 0, reused_.second);
  return reused_.first;
}

}  // namespace tarvik
