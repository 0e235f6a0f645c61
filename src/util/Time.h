#pragma once

#include <cstdint>
#include <string>

namespace tarvik {

// Splits a millisecond count into whole hours, minutes and seconds; the seconds are rounded
// half to even (1500 ms gives 2 s, 2500 ms gives 2 s).
void SplitMilliseconds(std::int32_t milliseconds, std::uint16_t& hours, std::uint16_t& minutes,
                       std::uint16_t& seconds);

// "hh:mm:ss" with two digits each; "00:00:00" when a part is out of range (24 hours and more).
void FormatHMS(std::string& text, std::uint16_t hours, std::uint16_t minutes,
               std::uint16_t seconds);

}  // namespace tarvik
