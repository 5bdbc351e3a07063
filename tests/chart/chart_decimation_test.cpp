#include "log/chart_decimation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using kx::log::ChartPoint;
using kx::log::ChartPoints;
using kx::log::decimateForColumns;

ChartPoints storeOf(const std::vector<float> &values)
{
    ChartPoints points;
    for (const float value : values)
        points.append(value);
    return points;
}

TEST(ChartDecimation, FewPointsPerColumnAreHandedAsTheyAre)
{
    const std::vector<float> values{9, 9, 5, -3, 7, 0};
    const std::vector<ChartPoint> points = decimateForColumns(storeOf(values), 2, 6, 100);
    ASSERT_EQ(points.size(), 4u);
    for (std::size_t i = 0; i < points.size(); ++i) {
        EXPECT_EQ(points[i].x, 2.0 + double(i));
        EXPECT_EQ(points[i].y, values[i + 2]);
    }
}

// Each pixel column must keep its extremes and its first and last point, or a spike, a dip or a
// step between columns would draw differently. The run starts and ends off the store's blocks.
TEST(ChartDecimation, EveryColumnKeepsItsExtremesAndEnds)
{
    std::vector<float> values(100'003);
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = float(std::sin(double(i) * 0.001) * 1000);
    values[4321] = 39999;
    values[77777] = -40000;
    values[1030] = -39000;  // the first point of a block
    const ChartPoints store = storeOf(values);
    const int columns = 700;
    const std::size_t from = 1001;
    const std::size_t to = values.size() - 5;
    const std::vector<ChartPoint> points = decimateForColumns(store, from, to, columns);
    ASSERT_LE(points.size(), std::size_t(columns) * 4);
    EXPECT_TRUE(std::is_sorted(points.begin(), points.end(),
                               [](const ChartPoint &a, const ChartPoint &b) { return a.x < b.x; }));

    std::size_t at = 0;
    for (int column = 0; column < columns; ++column) {
        const std::size_t begin = from + (to - from) * std::size_t(column) / std::size_t(columns);
        const std::size_t end = from + (to - from) * std::size_t(column + 1) / std::size_t(columns);
        const auto [low, high] = std::minmax_element(values.begin() + begin, values.begin() + end);
        float keptLow = INFINITY;
        float keptHigh = -INFINITY;
        const std::size_t first = at;
        for (; at < points.size() && points[at].x < double(end); ++at) {
            EXPECT_EQ(points[at].y, values[std::size_t(points[at].x)]);
            keptLow = std::min(keptLow, float(points[at].y));
            keptHigh = std::max(keptHigh, float(points[at].y));
        }
        ASSERT_GT(at, first) << "column " << column;
        EXPECT_EQ(points[first].x, double(begin));
        EXPECT_EQ(points[at - 1].x, double(end - 1));
        EXPECT_EQ(keptLow, *low) << "column " << column;
        EXPECT_EQ(keptHigh, *high) << "column " << column;
    }
    EXPECT_EQ(at, points.size());
}

} // namespace
