#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace kx::log {

// The chart's own store of readings: a chart runs for days, so a point is just its value in counts
// (4 bytes); its x value is its index, which never needs storing.
class ChartPoints {
public:
    void append(float value) { m_values.push_back(value); }
    void clear() { m_values.clear(); }
    std::size_t size() const { return m_values.size(); }
    std::span<const float> values() const { return m_values; }

private:
    std::vector<float> m_values;
};

} // namespace kx::log
