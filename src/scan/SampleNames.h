#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarvik {

// The names of the files a check's speed samples refer to, one per file in the order read.
// Neighbouring files mostly share their folders, so each name is kept as what it shares with
// the name before it and the rest: a check of 100,000 files keeps a few bytes for each, and a
// chain of folders thousands deep keeps each level's name once, not the whole path again at
// every level. Every kWholeEvery-th name is kept whole, so that a name is rebuilt from at most
// that many.
class SampleNames {
 public:
  static constexpr std::size_t kWholeEvery = 64;

  void Add(std::string_view name);
  std::size_t Size() const { return ends_.size(); }
  // Name `index`, rebuilt.
  std::string At(std::size_t index) const;
  // Keeps only the names at `indexes` (ascending), numbered from 0 in that order.
  void KeepOnly(const std::vector<std::uint32_t>& indexes);

 private:
  // Rebuilds into `name` name `index` from name `index` - 1, which it holds.
  void Next(std::size_t index, std::string& name) const;

  // The part of each name after what it shares with the one before it, one after the other.
  std::string rests_;
  // Where each name's rest ends in rests_, and how many bytes it shares with the one before.
  std::vector<std::size_t> ends_;
  std::vector<std::uint32_t> shared_;
  std::string last_;
};

}  // namespace tarvik
