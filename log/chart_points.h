#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace kx::log {

// The chart's own store of one series: a chart runs for days, so a point is just its value in
// counts (4 bytes); its x value is its index, which never needs storing. Each block of points
// also keeps where its lowest and highest value are, so that a page of a million points is cut
// to the plot's width without visiting every point.
class ChartPoints {
public:
    struct Extremes {
        std::size_t low;
        std::size_t high;
    };

    void append(float value);
    void clear();
    std::size_t size() const { return m_values.size(); }
    std::span<const float> values() const { return m_values; }
    // Indices of a lowest and a highest value in [begin, end), which must not be empty.
    Extremes extremes(std::size_t begin, std::size_t end) const;

private:
    static constexpr std::size_t kBlock = 64;

    std::vector<float> m_values;
    std::vector<Extremes> m_blocks;
};

} // namespace kx::log
