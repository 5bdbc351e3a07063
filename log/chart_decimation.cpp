#include "log/chart_decimation.h"

#include <algorithm>
#include <array>

namespace kx::log {

namespace {

// Below this many points per column there is nothing worth dropping.
constexpr double kPointsPerColumnWorthDecimating = 4.0;

// Appends the first, lowest, highest and last point of values[begin, end), in index order.
void appendColumn(std::span<const float> values, std::size_t begin, std::size_t end,
                  std::int64_t firstX, std::vector<ChartPoint> &out)
{
    std::size_t low = begin;
    std::size_t high = begin;
    for (std::size_t i = begin + 1; i < end; ++i) {
        if (values[i] < values[low])
            low = i;
        if (values[i] > values[high])
            high = i;
    }
    std::array<std::size_t, 4> picks{begin, low, high, end - 1};
    std::sort(picks.begin(), picks.end());
    const auto last = std::unique(picks.begin(), picks.end());
    for (auto it = picks.begin(); it != last; ++it)
        out.push_back({static_cast<double>(firstX + static_cast<std::int64_t>(*it)), values[*it]});
}

} // namespace

std::vector<ChartPoint> decimateForColumns(std::span<const float> values, std::int64_t firstX,
                                           int columns)
{
    std::vector<ChartPoint> out;
    const std::size_t count = values.size();
    const double perColumn = columns > 0 ? static_cast<double>(count) / columns : 0.0;
    if (perColumn <= kPointsPerColumnWorthDecimating) {
        out.reserve(count);
        for (std::size_t i = 0; i < count; ++i)
            out.push_back({static_cast<double>(firstX + static_cast<std::int64_t>(i)), values[i]});
        return out;
    }
    out.reserve(static_cast<std::size_t>(columns) * 4);
    std::size_t begin = 0;
    for (int column = 1; column <= columns; ++column) {
        const auto end = static_cast<std::size_t>(count * static_cast<std::uint64_t>(column)
                                                  / static_cast<std::uint64_t>(columns));
        if (end > begin)
            appendColumn(values, begin, end, firstX, out);
        begin = end;
    }
    return out;
}

} // namespace kx::log
