#include "ui/PercentBar.h"

#include <algorithm>

namespace tarvik {

void PercentBar::SetMax(std::int64_t max) {
  if (max < kMin) return;
  const bool max_changed = max != max_;
  max_ = max;
  const bool position_changed = position_ > max_;
  if (position_changed) position_ = max_;
  if (max_changed || position_changed) StateChanged();
}

void PercentBar::SetPosition(std::int64_t position) {
  Assign(position_, std::clamp(position, kMin, max_));
}

int PercentBar::Percent() const {
  if (max_ == kMin) return 0;
  // 128-bit, so that the product cannot overflow near the 64-bit limit and the truncation
  // stays exact where floating point would round 99.99... up to 100.
  __extension__ using Wide = __int128;
  return static_cast<int>(static_cast<Wide>(position_ - kMin) * 100 / (max_ - kMin));
}

}  // namespace tarvik
