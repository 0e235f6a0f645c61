#include "scan/SampleNames.h"

#include <algorithm>
#include <limits>

#include "util/Text.h"

namespace tarvik {

void SampleNames::Add(std::string_view name) {
  const std::size_t shared = ends_.size() % kWholeEvery == 0
                                 ? 0
                                 : std::min<std::size_t>(CommonPrefixLength(name, last_),
                                                         std::numeric_limits<std::uint32_t>::max());
  rests_.append(name.substr(shared));
  ends_.push_back(rests_.size());
  shared_.push_back(static_cast<std::uint32_t>(shared));
  last_.assign(name);
}

void SampleNames::Next(std::size_t index, std::string& name) const {
  const std::size_t begin = index == 0 ? 0 : ends_[index - 1];
  name.resize(shared_[index]);
  name.append(rests_, begin, ends_[index] - begin);
}

std::string SampleNames::At(std::size_t index) const {
  std::string name;
  for (std::size_t at = index - index % kWholeEvery; at <= index; ++at) Next(at, name);
  return name;
}

void SampleNames::KeepOnly(const std::vector<std::uint32_t>& indexes) {
  SampleNames kept;
  std::string name;
  std::size_t next = 0;
  for (std::size_t index = 0; index < Size() && next < indexes.size(); ++index) {
    Next(index, name);
    if (index == indexes[next]) {
      kept.Add(name);
      ++next;
    }
  }
  *this = std::move(kept);
}

}  // namespace tarvik
