#pragma once

#include <string>

namespace tarvik {

// The value in fixed-point notation with `decimals` digits after a full stop, no padding.
// Rounds half away from zero on the shortest decimal form of the value, so 1.25 gives 1.3
// with one decimal where printf would give 1.2. A negative value that rounds to zero keeps
// its sign: -0.0001 with three decimals gives -0.000.
std::string FormatFixed(double value, int decimals);

}  // namespace tarvik
