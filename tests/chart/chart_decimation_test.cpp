#include "log/chart_decimation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using kx::log::ChartPoint;
using kx::log::decimateForColumns;

TEST(ChartDecimation, FewPointsPerColumnAreHandedAsTheyAre)
{
    const std::vector<float> values{5, -3, 7, 0};
    const std::vector<ChartPoint> points = decimateForColumns(values, 200, 100);
    ASSERT_EQ(points.size(), values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        EXPECT_EQ(points[i].x, 200.0 + double(i));
        EXPECT_EQ(points[i].y, values[i]);
    }
}

// Each pixel column must keep its extremes and its first and last point, or a spike, a dip or a
// step between columns would draw differently.
TEST(ChartDecimation, EveryColumnKeepsItsExtremesAndEnds)
{
    std::vector<float> values(100'003);
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = float(std::sin(double(i) * 0.001) * 1000);
    values[4321] = 39999;
    values[77777] = -40000;
    const int columns = 700;
    const std::int64_t firstX = 1000;
    const std::vector<ChartPoint> points = decimateForColumns(values, firstX, columns);
    ASSERT_LE(points.size(), std::size_t(columns) * 4);
    EXPECT_TRUE(std::is_sorted(points.begin(), points.end(),
                               [](const ChartPoint &a, const ChartPoint &b) { return a.x < b.x; }));

    std::size_t at = 0;
    for (int column = 0; column < columns; ++column) {
        const std::size_t begin = values.size() * std::size_t(column) / std::size_t(columns);
        const std::size_t end = values.size() * std::size_t(column + 1) / std::size_t(columns);
        const auto [low, high] = std::minmax_element(values.begin() + begin, values.begin() + end);
        float keptLow = INFINITY;
        float keptHigh = -INFINITY;
        const std::size_t first = at;
        while (at < points.size() && points[at].x < double(firstX) + double(end)) {
            EXPECT_EQ(points[at].y, values[std::size_t(points[at].x) - firstX]);
            keptLow = std::min(keptLow, float(points[at].y));
            keptHigh = std::max(keptHigh, float(points[at].y));
            ++at;
        }
        ASSERT_GT(at, first) << "column " << column;
        EXPECT_EQ(points[first].x, double(firstX) + double(begin));
        EXPECT_EQ(points[at - 1].x, double(firstX) + double(end - 1));
        EXPECT_EQ(keptLow, *low) << "column " << column;
        EXPECT_EQ(keptHigh, *high) << "column " << column;
    }
    EXPECT_EQ(at, points.size());
}

} // namespace
