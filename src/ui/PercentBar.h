#pragma once

#include <cstdint>

#include "ui/Control.h"

namespace tarvik {

// A progress bar that prints its whole percentage. Maximum and position are 64-bit, because
// one bar counts the bytes read against a disk's capacity and discs hold more than 4 GiB.
class PercentBar : public Control {
 public:
  static constexpr std::int64_t kMin = 0;

  std::int64_t Max() const { return max_; }
  // A maximum below the minimum is refused (the old one stays); a maximum below the
  // position pulls the position down to it.
  void SetMax(std::int64_t max);

  std::int64_t Position() const { return position_; }
  // Clamped to the range from the minimum to the maximum.
  void SetPosition(std::int64_t position);

  // The filled share in whole percent, truncated; 0 when the range is empty.
  int Percent() const;

 private:
  std::int64_t max_ = 100;
  std::int64_t position_ = 0;
};

}  // namespace tarvik
