#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "scan/ReadSpeed.h"

namespace tarvik {

// A point of the curve in the plot area's pixels (y from the top), standing for the pixel
// columns first_column to column: samples that took no measurable time lend their bytes to
// the next column that has some.
struct PlotPoint {
  double x;
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
  std::vector<PlotPoint> curve;
  // Where files with a problem begin.
  std::vector<double> problem_marks;
  // The span of the file being read, during a check.
  std::optional<std::pair<double, double>> current_file;
  std::vector<AxisTick> x_ticks;
  std::vector<AxisTick> y_ticks;
  // The megabytes the plot's width stands for.
  double megabytes_across = 0;
};

SpeedPlot PlotSpeed(const ReadSpeed& speed, int width, int height);

// What the curve shows at pixel column `x` of a plot `width` wide: the file read there and the
// speed of the curve there.
struct SpeedAt {
  std::string file;
  double megabytes_per_second;
};
std::optional<SpeedAt> SpeedAtColumn(const ReadSpeed& speed, const SpeedPlot& plot, int x,
                                     int width);

}  // namespace tarvik
