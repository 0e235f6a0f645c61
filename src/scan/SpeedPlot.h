#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "scan/ReadSpeed.h"

namespace tarvik {

// A step of the curve at height y in the plot area's pixels (from the top), across the pixel
// columns first_column to column: samples that took too little time to measure well lend
// their bytes and time to the next column.
struct CurveStep {
  double y;
  int first_column;
  int column;
  double megabytes_per_second;
};

// A grid line: its pixel along the axis and its label.
struct AxisTick {
  double at;
  std::string label;
};

// The speed graph fitted to a plot area: megabytes per second up, megabytes read along.
struct SpeedPlot {
  std::vector<CurveStep> curve;
  // The curve of an earlier check, drawn under the current one on the same axes.
  std::vector<CurveStep> earlier_curve;
  // Where files with a problem begin.
  std::vector<double> problem_marks;
  // The span of the file being read, during a check.
  std::optional<std::pair<double, double>> current_file;
  std::vector<AxisTick> x_ticks;
  std::vector<AxisTick> y_ticks;
  // The megabytes the plot's width stands for.
  double megabytes_across = 0;
};

SpeedPlot PlotSpeed(const ReadSpeed& speed, int width, int height,
                    const std::vector<SpeedSample>& earlier = {});

// What the curve shows at pixel column `x` of a plot `width` wide: the file read there and the
// speed of the curve there.
struct SpeedAt {
  std::string file;
  double megabytes_per_second;
};
std::optional<SpeedAt> SpeedAtColumn(const ReadSpeed& speed, const SpeedPlot& plot, int x,
                                     int width);

}  // namespace tarvik
