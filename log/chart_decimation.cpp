#include "log/chart_decimation.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace kx::log {

namespace {

// Below this many points per column there is nothing worth dropping.
constexpr double kPointsPerColumnWorthDecimating = 4.0;

} // namespace

std::vector<ChartPoint> decimateForColumns(const ChartPoints &points, std::size_t from,
                                           std::size_t to, int columns)
{
    const std::span<const float> values = points.values();
    std::vector<ChartPoint> out;
    const std::size_t count = to - from;
    const auto point = [&values](std::size_t i) { return ChartPoint{double(i), values[i]}; };
    if (columns <= 0 || double(count) / columns <= kPointsPerColumnWorthDecimating) {
        out.reserve(count);
        for (std::size_t i = from; i < to; ++i)
            out.push_back(point(i));
        return out;
    }
    out.reserve(std::size_t(columns) * 4);
    std::size_t begin = from;
    for (int column = 1; column <= columns; ++column) {
        const std::size_t end =
            from + std::size_t(std::uint64_t(count) * std::uint64_t(column) / std::uint64_t(columns));
        if (end > begin) {
            const ChartPoints::Extremes extremes = points.extremes(begin, end);
            std::array<std::size_t, 4> picks{begin, extremes.low, extremes.high, end - 1};
            std::sort(picks.begin(), picks.end());
            const auto last = std::unique(picks.begin(), picks.end());
            for (auto it = picks.begin(); it != last; ++it)
                out.push_back(point(*it));
        }
        begin = end;
    }
    return out;
}

} // namespace kx::log
