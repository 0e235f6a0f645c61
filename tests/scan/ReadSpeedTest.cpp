#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "scan/ProblemLines.h"
#include "scan/ReadSpeed.h"
#include "scan/SpeedPlot.h"

namespace tarvik {
namespace {

constexpr std::int64_t kMiB = std::int64_t{1} << 20;

using Step = std::function<void(ReadSpeed&)>;
Step Begin(std::string path, std::uint32_t tick, std::int64_t size = -1) {
  return [=](ReadSpeed& s) {
    s.BeginFile(path, tick);
    if (size >= 0) s.SetFileSize(size);
  };
}
Step Read(std::int64_t file_bytes, std::uint32_t tick) {
  return [=](ReadSpeed& s) { s.Block(file_bytes, tick); };
}
Step Problem(std::string_view suffix) {
  return [=](ReadSpeed& s) { s.Problem(suffix); };
}
Step End(std::uint32_t tick) {
  return [=](ReadSpeed& s) { s.EndFile(tick); };
}
Step Question(std::uint32_t milliseconds) {
  return [=](ReadSpeed& s) { s.LeaveOut(milliseconds); };
}

struct Shown {
  std::int64_t bytes;
  std::uint32_t milliseconds;
  std::string file;
  bool operator==(const Shown&) const = default;
};
void PrintTo(const Shown& s, std::ostream* os) {
  *os << s.bytes << "/" << s.milliseconds << "ms/" << s.file;
}

std::vector<Shown> SamplesOf(const ReadSpeed& speed) {
  std::vector<Shown> shown;
  for (const SpeedSample& s : speed.Samples())
    shown.push_back({s.bytes, s.milliseconds, speed.FileName(s.file)});
  return shown;
}

std::vector<std::string> Paths(const std::vector<FileSpeed>& files) {
  std::vector<std::string> paths;
  for (const FileSpeed& file : files) paths.push_back(file.path);
  return paths;
}

TEST(ReadSpeedTest, SamplesFromScriptedReadsAndTicks) {
  const struct {
    const char* name;
    std::vector<Step> steps;
    std::vector<Shown> samples;
    std::vector<std::string> slowest;
    std::vector<std::pair<std::string, FileOutcome>> problems;
  } cases[] = {
      {"a mebibyte comes first; the clock starts with the first file",
       {Begin("A", 5000), Read(kMiB / 2, 5010), Read(kMiB - 1, 5020), Read(kMiB, 5030),
        Read(kMiB + 10, 5040), End(5050)},
       {{kMiB, 30, "A"}, {kMiB + 10, 20, "A"}},
       {},
       {}},
      {"a quarter second comes first; no second sample where the last block took one",
       {Begin("A", 0), Read(100, 249), Read(200, 250), Read(300, 499), Read(400, 500), End(500)},
       {{200, 250, "A"}, {400, 250, "A"}},
       {},
       {}},
      {"the tick wraps at 32 bits",
       {Begin("A", 0xFFFFFF00u), Read(10, 0xFFFFFFF0u), Read(20, 0xFA), End(0xFA)},
       {{20, 506, "A"}},
       {},
       {}},
      {"every file ends with a sample, a missing or empty one too; the mebibyte counts on "
       "across files from the last sample",
       {Begin("A", 0), Read(0, 0), End(0), Begin("B", 1), Problem(kNotFoundSuffix), End(2),
        Begin("C", 3), Read(kMiB / 2, 4), End(4), Begin("D", 5), Read(kMiB - 1, 6), Read(kMiB, 7),
        End(8)},
       {{0, 0, "A"}, {0, 2, "B"}, {kMiB / 2, 2, "C"}, {kMiB + kMiB / 2, 3, "D"}},
       {},
       {{"B", FileOutcome::kNotFound}}},
      {"slowest files of at least a mebibyte that took measurable time; the first problem "
       "line of a file gives its outcome",
       {Begin("FAST", 0, kMiB), Read(kMiB, 10), End(10), Begin("SMALL", 10, kMiB - 1),
        Read(kMiB - 1, 1000), End(1000), Begin("SLOWEST", 1000, 4 * kMiB), Read(kMiB, 2000),
        Problem(kAbortSuffix), Problem(kSizeSuffix), End(2000), Begin("UNTIMED", 2000, 2 * kMiB),
        Read(2 * kMiB, 2000), End(2000), Begin("SLOW", 2000, 2 * kMiB), Read(kMiB, 2200),
        Problem(kReadSuffix), End(2300)},
       {{kMiB, 10, "FAST"},
        {2 * kMiB - 1, 990, "SMALL"},
        {3 * kMiB - 1, 1000, "SLOWEST"},
        {5 * kMiB - 1, 0, "UNTIMED"},
        {6 * kMiB - 1, 200, "SLOW"}},
       {"SLOWEST", "SLOW", "FAST"},
       {{"SLOWEST", FileOutcome::kAbort}, {"SLOW", FileOutcome::kRead}}},
      {"questions take no time: while A is read (300 ms), after its clock stopped, between files",
       {Begin("A", 0, kMiB), Read(10, 100), Question(5000), Read(kMiB, 5300),
        [](ReadSpeed& s) { s.StopClock(5300); }, Question(5000), End(5300), Question(5000),
        Begin("B", 15300, kMiB), Read(kMiB, 15700), End(15700)},
       {{kMiB, 300, "A"}, {2 * kMiB, 400, "B"}},
       {"B", "A"},
       {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ReadSpeed speed;
    speed.BeginCommand();
    for (const Step& step : c.steps) step(speed);
    EXPECT_EQ(SamplesOf(speed), c.samples);
    EXPECT_EQ(Paths(speed.Slowest()), c.slowest);
    std::vector<std::pair<std::string, FileOutcome>> problems;
    for (const FileSpeed& file : speed.ProblemFiles())
      problems.emplace_back(file.path, file.outcome);
    EXPECT_EQ(problems, c.problems);
  }
}

// File `f` of a walk that goes 0 to 99 folders deep and back up again.
std::string NameAtDepth(int f) {
  std::string name = "C:";
  for (int level = 0; level < 99 - std::abs(f % 198 - 99); ++level) name += "\\D";
  return name + "\\F" + std::to_string(f);
}

// Samples merge in pairs at the bound, each ending where the later one ended and lasting as
// long as both, with the later one's file; sampling goes on after a merge.
TEST(ReadSpeedTest, NeighboursMergeAtTheBound) {
  constexpr int kMax = static_cast<int>(ReadSpeed::kMaxSamples);
  const struct {
    const char* name;
    std::function<void(ReadSpeed&)> read;
    std::size_t count;
    std::function<Shown(int)> sample;
  } cases[] = {
      {"one long file",
       [](ReadSpeed& s) {
         s.BeginFile("F", 0);
         for (int i = 1; i <= kMax; ++i) s.Block(i * kMiB, i);
         s.EndFile(kMax);
       },
       kMax / 2,
       [](int k) {
         return Shown{(2 * k + 2) * kMiB, 2, "F"};
       }},
      {"a sample per file, and on after the merge; names deeper and shallower by turns",
       [](ReadSpeed& s) {
         for (int f = 0; f < kMax + 2; ++f) {
           s.BeginFile(NameAtDepth(f), f);
           s.Block(1, f);
           s.EndFile(f + 1);
         }
       },
       kMax / 2 + 2,
       [](int k) {
         if (k >= kMax / 2) return Shown{k + kMax / 2 + 1, 1, NameAtDepth(k + kMax / 2)};
         return Shown{2 * k + 2, 2, NameAtDepth(2 * k + 1)};
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ReadSpeed speed;
    c.read(speed);
    const std::vector<Shown> samples = SamplesOf(speed);
    ASSERT_EQ(samples.size(), c.count);
    for (int k = 0; k < static_cast<int>(c.count); ++k) ASSERT_EQ(samples[k], c.sample(k)) << k;
  }
}

// A plot 10 pixels wide over 4 MB: A's megabyte in 20 ms, then B's in 5 ms, too short for a
// point of its own, whose bytes and time go to the next column, C's two megabytes in 35 ms.
TEST(ReadSpeedTest, PlotAndWhatItShowsAtAColumn) {
  ReadSpeed speed;
  for (const Step& step :
       {Begin("A", 0), Read(1'000'000, 20), End(20), Begin("B", 20), Read(1'000'000, 25), End(25),
        Begin("C", 25), Read(2'000'000, 60), Problem(kReadSuffix), End(60), Begin("D", 60)}) {
    step(speed);
  }
  const SpeedPlot plot = PlotSpeed(speed, 10, 100);
  std::vector<std::tuple<int, int, double, double>> curve;
  for (const CurveStep& p : plot.curve)
    curve.emplace_back(p.first_column, p.column, p.megabytes_per_second, p.y);
  EXPECT_EQ(curve, (std::vector<std::tuple<int, int, double, double>>{{0, 2, 50, 37.5},
                                                                      {3, 9, 75, 6.25}}));
  std::vector<std::string> x_labels, y_labels;
  for (const AxisTick& t : plot.x_ticks) x_labels.push_back(t.label);
  for (const AxisTick& t : plot.y_ticks) y_labels.push_back(t.label);
  EXPECT_EQ(x_labels, (std::vector<std::string>{"0", "1", "2", "3", "4"}));
  EXPECT_EQ(y_labels, (std::vector<std::string>{"0", "20", "40", "60", "80"}));
  EXPECT_EQ(plot.problem_marks, std::vector<double>{5.0});
  EXPECT_EQ(plot.current_file, (std::pair<double, double>{10.0, 10.0}));

  const std::pair<int, std::optional<std::pair<std::string, double>>> columns[] = {
      {0, {{"A", 50}}}, {2, {{"A", 50}}}, {4, {{"B", 75}}}, {8, {{"C", 75}}}, {10, {}}};
  for (const auto& [x, shown] : columns) {
    const std::optional<SpeedAt> at = SpeedAtColumn(speed, plot, x, 10);
    EXPECT_EQ(at ? std::optional(std::pair(at->file, at->megabytes_per_second)) : std::nullopt,
              shown)
        << x;
  }

  // An earlier check, longer and faster (8 MB, its first 2 MB too quick for a point of their
  // own), stretches both axes, and the current curve keeps its columns on them.
  const SpeedPlot both = PlotSpeed(speed, 10, 100, {{2'000'000, 10, 0}, {8'000'000, 40, 0}});
  std::vector<std::tuple<int, int, double, double>> earlier;
  for (const CurveStep& p : both.earlier_curve)
    earlier.emplace_back(p.first_column, p.column, p.megabytes_per_second, p.y);
  EXPECT_EQ(earlier, (std::vector<std::tuple<int, int, double, double>>{{0, 9, 160, 20}}));
  EXPECT_EQ(both.x_ticks.back().label, "8");
  EXPECT_EQ(both.y_ticks.back().label, "200");
  ASSERT_EQ(both.curve.size(), 2u);
  EXPECT_EQ(both.curve[1].first_column, 2);
  EXPECT_EQ(both.curve[1].y, 62.5);
}

}  // namespace
}  // namespace tarvik
