#include "util/Number.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace tarvik {

std::string FormatFixed(double value, int decimals) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (decimals < 0) decimals = 0;

  // Shortest round-trip form, "d.ddde±x": the decimal value the user would read.
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                    std::chars_format::scientific);
  const std::string_view text(buffer, result.ptr - buffer);
  const auto e_pos = text.find('e');
  std::string digits;
  for (char ch : text.substr(0, e_pos))
    if (ch != '.') digits += ch;
  const int exponent = std::atoi(std::string(text.substr(e_pos + 1)).c_str());

  // digits[i] has weight 10^(exponent - i). Lay the digits out as integer part + decimals,
  // keeping one extra digit to decide the rounding.
  int int_len = exponent + 1;
  if (int_len < 1) {
    digits.insert(0, static_cast<std::size_t>(1 - int_len), '0');
    int_len = 1;
  }
  const auto keep = static_cast<std::size_t>(int_len + decimals);
  if (digits.size() < keep + 1) digits.append(keep + 1 - digits.size(), '0');
  const bool round_up = digits[keep] >= '5';
  digits.resize(keep);
  if (round_up) {
    std::size_t i = keep;
    while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
    if (i == 0) {
      digits.insert(0, 1, '1');
      ++int_len;
    } else {
      ++digits[i - 1];
    }
  }

  std::string out;
  if (value < 0) out += '-';
  out.append(digits, 0, static_cast<std::size_t>(int_len));
  if (decimals > 0) {
    out += '.';
    out.append(digits, static_cast<std::size_t>(int_len), std::string::npos);
  }
  return out;
}

}  // namespace tarvik
