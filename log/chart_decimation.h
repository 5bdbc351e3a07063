#pragma once

#include "log/chart_points.h"

#include <vector>

namespace kx::log {

struct ChartPoint {
    double x;
    double y;
};

// The points with index from .. to - 1 (x = index) as they are to be handed to the chart when
// they span `columns` pixel columns. A few points per column are handed as they are; beyond that
// each column keeps only its first, lowest, highest and last point, in arrival order, which draws
// the same line with a bounded number of points.
std::vector<ChartPoint> decimateForColumns(const ChartPoints &points, std::size_t from,
                                           std::size_t to, int columns);

} // namespace kx::log
