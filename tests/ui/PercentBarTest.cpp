#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "ui/PercentBar.h"

namespace tarvik {
namespace {

constexpr std::int64_t kInt64Max = std::numeric_limits<std::int64_t>::max();

struct Step {
  enum { kMax, kPosition } what;
  std::int64_t value;
};

struct BarCase {
  std::string name;
  std::vector<Step> steps;
  std::int64_t max, position;
  int percent;
};

void Apply(PercentBar& bar, const std::vector<Step>& steps) {
  for (const auto& step : steps) {
    if (step.what == Step::kMax) {
      bar.SetMax(step.value);
    } else {
      bar.SetPosition(step.value);
    }
  }
}

TEST(PercentBarTest, RangeClampingAndPercentage) {
  const BarCase cases[] = {
      {"fresh bar", {}, 100, 0, 0},
      {"position inside", {{Step::kPosition, 42}}, 100, 42, 42},
      {"position below the minimum", {{Step::kPosition, -5}}, 100, 0, 0},
      {"position above the maximum", {{Step::kPosition, 250}}, 100, 100, 100},
      {"maximum below the position pulls it down",
       {{Step::kPosition, 80}, {Step::kMax, 50}},
       50,
       50,
       100},
      {"lowered maximum raised again keeps the pulled position",
       {{Step::kPosition, 80}, {Step::kMax, 50}, {Step::kMax, 100}},
       100,
       50,
       50},
      {"raised maximum keeps the position",
       {{Step::kPosition, 60}, {Step::kMax, 1000}},
       1000,
       60,
       6},
      {"maximum below the minimum refused", {{Step::kPosition, 30}, {Step::kMax, -1}}, 100, 30, 30},
      {"empty range", {{Step::kPosition, 30}, {Step::kMax, 0}}, 0, 0, 0},
      {"position in an empty range", {{Step::kMax, 0}, {Step::kPosition, 5}}, 0, 0, 0},
      {"one third truncated", {{Step::kMax, 3}, {Step::kPosition, 1}}, 3, 1, 33},
      {"two thirds truncated, not rounded", {{Step::kMax, 3}, {Step::kPosition, 2}}, 3, 2, 66},
      {"bytes of a 650 MB disc",
       {{Step::kMax, 650'000'000}, {Step::kPosition, 2'500'000}},
       650'000'000,
       2'500'000,
       0},
      {"capacity above 4 GiB",
       {{Step::kMax, 10'000'000'000}, {Step::kPosition, 7'500'000'000}},
       10'000'000'000,
       7'500'000'000,
       75},
      {"one short of full at the 64-bit limit",
       {{Step::kMax, kInt64Max}, {Step::kPosition, kInt64Max - 1}},
       kInt64Max,
       kInt64Max - 1,
       99},
      {"full at the 64-bit limit",
       {{Step::kMax, kInt64Max}, {Step::kPosition, kInt64Max}},
       kInt64Max,
       kInt64Max,
       100},
  };
  for (const auto& c : cases) {
    PercentBar bar;
    Apply(bar, c.steps);
    EXPECT_EQ(bar.Max(), c.max) << c.name;
    EXPECT_EQ(bar.Position(), c.position) << c.name;
    EXPECT_EQ(bar.Percent(), c.percent) << c.name;
  }
}

TEST(PercentBarTest, AnnouncesOnlyRealChanges) {
  struct AnnounceCase {
    std::string name;
    std::vector<Step> steps;  // applied to a bar at position 40 of 100
    int announcements;
  };
  const AnnounceCase cases[] = {
      {"same position", {{Step::kPosition, 40}}, 0},
      {"same maximum", {{Step::kMax, 100}}, 0},
      {"refused maximum", {{Step::kMax, -7}}, 0},
      {"new position", {{Step::kPosition, 41}}, 1},
      {"maximum pulling the position down", {{Step::kMax, 10}}, 1},
      {"clamped to the position already held", {{Step::kPosition, 100}, {Step::kPosition, 500}}, 1},
  };
  for (const auto& c : cases) {
    PercentBar bar;
    bar.SetPosition(40);
    int announced = 0;
    bar.StateChanged.Subscribe([&] { ++announced; });
    Apply(bar, c.steps);
    EXPECT_EQ(announced, c.announcements) << c.name;
  }
}

}  // namespace
}  // namespace tarvik
