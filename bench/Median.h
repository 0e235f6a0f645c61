#pragma once

#include <algorithm>
#include <vector>

namespace tarvik {

// The middle one of a benchmark's runs.
inline double Median(std::vector<double> runs) {
  std::sort(runs.begin(), runs.end());
  return runs[runs.size() / 2];
}

}  // namespace tarvik
