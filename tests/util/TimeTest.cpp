#include <gtest/gtest.h>

#include <string>

#include "util/Time.h"

namespace tarvik {
namespace {

TEST(SplitMillisecondsTest, RoundsHalfToEven) {
  struct Case {
    std::int32_t ms;
    std::uint16_t h, m, s;
  };
  const Case cases[] = {
      {0, 0, 0, 0},
      {499, 0, 0, 0},
      {500, 0, 0, 0},
      {501, 0, 0, 1},
      {1500, 0, 0, 2},
      {2500, 0, 0, 2},
      {3500, 0, 0, 4},
      {59'500, 0, 1, 0},
      {3'600'000, 1, 0, 0},
      {86'399'000, 23, 59, 59},
      {86'399'500, 24, 0, 0},
      {3'725'000, 1, 2, 5},
      {2'147'483'647, 596, 31, 24},
  };
  for (const auto& c : cases) {
    std::uint16_t h = 99, m = 99, s = 99;
    SplitMilliseconds(c.ms, h, m, s);
    EXPECT_EQ(h, c.h) << c.ms;
    EXPECT_EQ(m, c.m) << c.ms;
    EXPECT_EQ(s, c.s) << c.ms;
  }
}

TEST(FormatHMSTest, TwoDigitsOrZerosWhenOutOfRange) {
  struct Case {
    std::uint16_t h, m, s;
    const char* text;
  };
  const Case cases[] = {
      {0, 0, 0, "00:00:00"},
      {23, 59, 59, "23:59:59"},
      {7, 5, 9, "07:05:09"},
      {24, 0, 0, "00:00:00"},
      {1, 60, 0, "00:00:00"},
      {1, 0, 60, "00:00:00"},
      {65535, 65535, 65535, "00:00:00"},
      {10, 0, 0, "10:00:00"},
  };
  for (const auto& c : cases) {
    std::string text = "junk";
    FormatHMS(text, c.h, c.m, c.s);
    EXPECT_EQ(text, c.text);
  }
}

TEST(FormatHMSTest, ElapsedTimeAtTheDayLimit) {
  const std::pair<std::int32_t, const char*> cases[] = {
      {86'399'499, "23:59:59"}, {86'399'500, "00:00:00"}, {90'000'000, "00:00:00"}};
  for (auto [ms, expected] : cases) {
    std::uint16_t h, m, s;
    SplitMilliseconds(ms, h, m, s);
    std::string text;
    FormatHMS(text, h, m, s);
    EXPECT_EQ(text, expected) << ms;
  }
}

}  // namespace
}  // namespace tarvik
