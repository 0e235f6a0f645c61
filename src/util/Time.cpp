#include "util/Time.h"

#include <cstdio>

namespace tarvik {

void SplitMilliseconds(std::int32_t milliseconds, std::uint16_t& hours, std::uint16_t& minutes,
                       std::uint16_t& seconds) {
  std::int64_t total = milliseconds / 1000;
  const std::int64_t rest = milliseconds % 1000;
  if (rest > 500 || (rest == 500 && total % 2 != 0)) ++total;
  if (rest < -500 || (rest == -500 && total % 2 != 0)) --total;
  const std::int64_t h = total / 3600;
  const std::int64_t m = (total - h * 3600) / 60;
  hours = static_cast<std::uint16_t>(h);
  minutes = static_cast<std::uint16_t>(m);
  seconds = static_cast<std::uint16_t>(total - h * 3600 - m * 60);
}

void FormatHMS(std::string& text, std::uint16_t hours, std::uint16_t minutes,
               std::uint16_t seconds) {
  text = "00:00:00";
  if (hours > 23 || minutes > 59 || seconds > 59) return;
  char buffer[9];
  std::snprintf(buffer, sizeof buffer, "%02u:%02u:%02u", unsigned{hours}, unsigned{minutes},
                unsigned{seconds});
  text = buffer;
}

}  // namespace tarvik
