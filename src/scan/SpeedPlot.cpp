#include "scan/SpeedPlot.h"

#include <algorithm>
#include <cmath>

#include "util/Number.h"

namespace tarvik {

namespace {

constexpr double kBytesPerMegabyte = 1e6;
// Grid lines wanted along each axis, roughly.
constexpr int kGridLines = 5;
// The least time a step of the curve stands for: with ticks of a millisecond, a shorter span
// would show the tick's steps rather than the medium's speed.
constexpr std::uint64_t kPointMilliseconds = 20;

// An axis from 0 to a round top above `largest`, with its grid lines spread over `pixels`;
// `downward` puts 0 at the far end, as a vertical axis needs.
struct Axis {
  double top;
  std::vector<AxisTick> ticks;
};

Axis RoundAxis(double largest, int pixels, bool downward) {
  // 1, 2 or 5 times a power of ten, so that the labels are round numbers.
  const double raw = std::max(largest, 1e-3) / kGridLines;
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  double step = 10 * power;
  for (double factor : {5.0, 2.0, 1.0}) {
    if (raw <= factor * power) step = factor * power;
  }
  const int decimals = std::max(0, -static_cast<int>(std::floor(std::log10(step))));
  const int steps = std::max(1, static_cast<int>(std::ceil(largest / step - 1e-9)));
  Axis axis{steps * step, {}};
  for (int i = 0; i <= steps; ++i) {
    const double along = static_cast<double>(i) / steps * pixels;
    axis.ticks.push_back({downward ? pixels - along : along, FormatFixed(i * step, decimals)});
  }
  return axis;
}

// The steps of the curve of `samples` over `width` columns, at heights still to be set; the
// fastest step's speed in `fastest`.
template <typename XOf>
std::vector<CurveStep> CurveOf(const std::vector<SpeedSample>& samples, XOf x_of, int width,
                               double& fastest) {
  struct Column {
    std::int64_t bytes = 0;
    std::uint64_t milliseconds = 0;
    bool sampled = false;
  };
  std::vector<Column> columns(width);
  std::int64_t previous = 0;
  int last_column = -1;
  for (const SpeedSample& sample : samples) {
    last_column = std::clamp(static_cast<int>(x_of(sample.bytes)), 0, width - 1);
    Column& column = columns[last_column];
    column.bytes += sample.bytes - previous;
    column.milliseconds += sample.milliseconds;
    column.sampled = true;
    previous = sample.bytes;
  }
  std::vector<CurveStep> curve;
  Column carried;
  int first_column = 0;
  for (int x = 0; x < width; ++x) {
    if (!columns[x].sampled) continue;
    carried.bytes += columns[x].bytes;
    carried.milliseconds += columns[x].milliseconds;
    if (carried.milliseconds == 0 ||
        (carried.milliseconds < kPointMilliseconds && x != last_column)) {
      continue;
    }
    const double rate = static_cast<double>(carried.bytes) / 1000.0 / carried.milliseconds;
    curve.push_back({0, first_column, x, rate});
    fastest = std::max(fastest, rate);
    carried = Column();
    first_column = x + 1;
  }
  return curve;
}

}  // namespace

SpeedPlot PlotSpeed(const ReadSpeed& speed, int width, int height,
                    const std::vector<SpeedSample>& earlier) {
  SpeedPlot plot;
  if (width <= 0 || height <= 0) return plot;
  const std::int64_t earlier_bytes = earlier.empty() ? 0 : earlier.back().bytes;
  const Axis across =
      RoundAxis(static_cast<double>(std::max(speed.Position(), earlier_bytes)) / kBytesPerMegabyte,
                width, false);
  plot.x_ticks = across.ticks;
  const auto x_of = [&](std::int64_t bytes) {
    return static_cast<double>(bytes) / kBytesPerMegabyte / across.top * width;
  };
  double fastest = 0;
  plot.curve = CurveOf(speed.Samples(), x_of, width, fastest);
  plot.earlier_curve = CurveOf(earlier, x_of, width, fastest);

  const Axis up = RoundAxis(fastest, height, true);
  plot.y_ticks = up.ticks;
  for (std::vector<CurveStep>* curve : {&plot.curve, &plot.earlier_curve}) {
    for (CurveStep& step : *curve) step.y = height - step.megabytes_per_second / up.top * height;
  }
  for (const FileSpeed& file : speed.ProblemFiles()) plot.problem_marks.push_back(x_of(file.start));
  if (speed.Reading())
    plot.current_file = {x_of(speed.CurrentFile().start), x_of(speed.Position())};
  plot.megabytes_across = across.top;
  return plot;
}

std::optional<SpeedAt> SpeedAtColumn(const ReadSpeed& speed, const SpeedPlot& plot, int x,
                                     int width) {
  const auto step = std::ranges::lower_bound(plot.curve, x, {}, &CurveStep::column);
  if (step == plot.curve.end() || step->first_column > x || width <= 0) return std::nullopt;
  // The sample that ends at or after the middle of the column was taken while its file was read.
  const double middle = (x + 0.5) / width * plot.megabytes_across * kBytesPerMegabyte;
  const std::vector<SpeedSample>& samples = speed.Samples();
  auto sample = std::ranges::lower_bound(
      samples, middle, {}, [](const SpeedSample& s) { return static_cast<double>(s.bytes); });
  if (sample == samples.end()) --sample;
  return SpeedAt{speed.FileName(sample->file), step->megabytes_per_second};
}

}  // namespace tarvik
