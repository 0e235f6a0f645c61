#include <gtest/gtest.h>

#include "util/Number.h"

namespace tarvik {
namespace {

TEST(FormatFixedTest, RoundsHalfAwayFromZeroOnTheDecimalValue) {
  struct Case {
    double value;
    int decimals;
    const char* text;
  };
  const Case cases[] = {
      {1250 / 1000.0, 1, "1.3"},           {652'345'344 / 1'000'000.0, 3, "652.345"},
      {1'234'567 / 1000.0, 3, "1234.567"}, {100.0 / 8, 1, "12.5"},
      {-1 / 1'000'000.0, 3, "-0.000"},     {-1 / 1000.0, 3, "-0.001"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatFixed(c.value, c.decimals), c.text) << c.value;
}

TEST(FormatFixedTest, CarriesSignsAndExtremes) {
  struct Case {
    double value;
    int decimals;
    const char* text;
  };
  const Case cases[] = {
      {-1.25, 1, "-1.3"},
      {0.0, 3, "0.000"},
      {0.0, 0, "0"},
      {1.005, 2, "1.01"},
      {2.675, 2, "2.68"},
      {9.96, 1, "10.0"},
      {0.96, 0, "1"},
      {999.9995, 3, "1000.000"},
      {1e10, 3, "10000000000.000"},
      {10'000'000'000 / 1e9, 3, "10.000"},
      {123.0, 0, "123"},
      {0.05, 1, "0.1"},
      {0.049, 1, "0.0"},
      {1e-20, 2, "0.00"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatFixed(c.value, c.decimals), c.text) << c.value;
}

}  // namespace
}  // namespace tarvik
