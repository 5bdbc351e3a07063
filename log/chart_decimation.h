#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace kx::log {

struct ChartPoint {
    double x;
    double y;
};

// The points of a run of consecutive readings (x = firstX, firstX + 1, ...) as they are to be
// handed to the chart when the run spans `columns` pixel columns. A few points per column are
// handed as they are; beyond that each column keeps only its first, lowest, highest and last
// point, in arrival order, which draws the same line with a bounded number of points.
std::vector<ChartPoint> decimateForColumns(std::span<const float> values, std::int64_t firstX,
                                           int columns);

} // namespace kx::log
